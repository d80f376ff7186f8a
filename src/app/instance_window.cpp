#include "app/instance_window.h"

#include "app/handoff_spool.h"
#include "app/handoff_text.h"
#include "app/instance.h"
#include "app/intake.h"
#include "app/start_up_state.h"
#include "common/continue_on_error.h"

namespace ferryl {

namespace {

constexpr wchar_t kClassName[] = L"FerrylInstanceF";

// How often a receiver without the mutex looks whether it is free (it also looks at every handoff).
constexpr UINT_PTR kMutexTimer = 1;
constexpr UINT kMutexTimerMs = 500;

}  // namespace

InstanceF::~InstanceF() {
    // The program is ending: nothing taken in now could be listed any more.
    if (Loaded())
        Destroy();
}

bool InstanceF::Load(std::wstring_view commandLine) noexcept {
    if (Loaded())
        return true;
    if (!RegisterWindowClass(kClassName))
        return false;
    // A plain hidden top-level window: a message-only window would be invisible to EnumWindows.
    if (!CreateHandle(kClassName, L"Ferryl Handler", WS_OVERLAPPED, 0, 0, 0, 0, 0))
        return false;
    // Without the handoff the instance still serves its own command line.
    m_attached = ContinueOnError(L"InstanceF.Load: AttachMessage", [&] { AttachMessage(this, Hwnd(), WM_COPYDATA); });
    MarkInstanceWindow(Hwnd());
    m_withoutMutex = !StartUp().InstanceMutex;
    if (m_withoutMutex) {
        ::SetPropW(Hwnd(), MutexlessMarkerName().c_str(), reinterpret_cast<HANDLE>(1));
        ::SetTimer(Hwnd(), kMutexTimer, kMutexTimerMs, nullptr);
    }
    // Files kept for an instance that was busy, or ended before it took them: they came first.
    TakeInKept();
    RemoveStaleSpoolPartials();
    AddFilesFromCommandLine(commandLine);
    return true;
}

void InstanceF::Unload() noexcept {
    if (!Loaded() || m_unloading)
        return;
    m_unloading = true;
    // Unmarked first: a later instance that looks now goes on to wait for the mutex to go, instead
    // of sending to a window that is about to vanish.
    const bool receiving = IsInstanceWindow(Hwnd());
    ::RemovePropW(Hwnd(), InstanceMarkerName().c_str());
    // A handoff may still wait: sent while this thread was busy (a long copy of Send Now), its sender
    // still waiting; or kept in the spool folder for this window. Taken in now rather than lost with
    // the window; the files it lists keep the program running.
    const long filesBefore = m_filesTaken;
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (Loaded())
        TakeInKept();
    m_unloading = false;
    if (!Loaded())
        return;
    if (m_filesTaken != filesBefore) {
        if (receiving)
            MarkInstanceWindow(Hwnd());
        return;
    }
    Destroy();
}

void InstanceF::Destroy() noexcept {
    ::RemovePropW(Hwnd(), InstanceMarkerName().c_str());
    StopWaitingForMutex();
    if (m_attached) {
        DetachMessage(this, Hwnd(), WM_COPYDATA);
        m_attached = false;
    }
    ReleaseInstanceMutex();
    ::DestroyWindow(Hwnd());
    if (m_quitLoopOnUnload)
        ::PostQuitMessage(0);
}

void InstanceF::AddFilesFromCommandLine(std::wstring_view text) noexcept {
    ContinueOnError(L"InstanceF: RestoreAndActivate", [&] { RestoreAndActivate(Hwnd()); });
    if (m_target)
        m_filesTaken += AddFilesToList(text, *m_target);
}

void InstanceF::TakeInKept() noexcept {
    if (m_target)
        m_filesTaken += TakeInKeptHandoffs(*m_target);
}

void InstanceF::SettleWithoutMutex() noexcept {
    if (!m_withoutMutex || !Loaded() || m_unloading)
        return;
    ContinueOnError(L"InstanceF.SettleWithoutMutex", [&] {
        if (AdoptInstanceMutex()) {
            StopWaitingForMutex();
        } else if (AnotherReceiverServes(Hwnd())) {
            // This window keeps its list; later starts go to the other one.
            StopWaitingForMutex();
            ::RemovePropW(Hwnd(), InstanceMarkerName().c_str());
        }
    });
}

void InstanceF::StopWaitingForMutex() noexcept {
    if (!m_withoutMutex)
        return;
    m_withoutMutex = false;
    ::KillTimer(Hwnd(), kMutexTimer);
    ::RemovePropW(Hwnd(), MutexlessMarkerName().c_str());
}

LRESULT InstanceF::WindowProc(HWND, UINT iMsg, WPARAM, LPARAM lParam) {
    if (iMsg != WM_COPYDATA || lParam == 0)
        return 0;
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    // An unknown tag, an empty or oversized payload is not a command line of ours: ignored.
    if (std::optional<std::wstring> text = ReceivedCommandLine(data->dwData, data->lpData, data->cbData))
        AddFilesFromCommandLine(*text);
    // Kept files whose notice was lost (the queue was full) wait no longer than the next handoff.
    TakeInKept();
    SettleWithoutMutex();
    return 0;
}

LRESULT InstanceF::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_LBUTTONUP:  // a click unloads it, as the close box does
        case WM_CLOSE:
            Unload();
            return 0;
        case kTakeKeptHandoffsMessage:
            TakeInKept();
            return 0;
        case WM_TIMER:
            if (wParam == kMutexTimer) {
                SettleWithoutMutex();
                return 0;
            }
            break;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace ferryl
