#include "app/instance_window.h"

#include "app/handoff_text.h"
#include "app/instance.h"
#include "app/intake.h"

namespace ferryl {

namespace {

constexpr wchar_t kClassName[] = L"FerrylInstanceF";

}  // namespace

InstanceF::~InstanceF() {
    Unload();
}

bool InstanceF::Load(std::wstring_view commandLine) noexcept {
    if (Loaded())
        return true;
    if (!RegisterWindowClass(kClassName))
        return false;
    // A plain hidden top-level window: a message-only window would be invisible to EnumWindows.
    if (!CreateHandle(kClassName, L"Ferryl Handler", WS_OVERLAPPED, 0, 0, 0, 0, 0))
        return false;
    try {
        AttachMessage(this, Hwnd(), WM_COPYDATA);
        m_attached = true;
    } catch (...) {
        // Without the handoff the instance still serves its own command line.
    }
    MarkInstanceWindow(Hwnd());
    AddFilesFromCommandLine(commandLine);
    return true;
}

void InstanceF::Unload() noexcept {
    if (!Loaded())
        return;
    // Unmarked first: a later instance that looks now goes on to wait for the mutex to go, instead
    // of sending to a window that is about to vanish.
    ::RemovePropW(Hwnd(), InstanceMarkerName().c_str());
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
    try {
        RestoreAndActivate(Hwnd());
    } catch (...) {
    }
    if (m_target)
        AddFilesToList(text, *m_target);
}

LRESULT InstanceF::WindowProc(HWND, UINT iMsg, WPARAM, LPARAM lParam) {
    if (iMsg != WM_COPYDATA || lParam == 0)
        return 0;
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    // An unknown tag, an empty or oversized payload is not a command line of ours: ignored.
    if (std::optional<std::wstring> text = ReceivedCommandLine(data->dwData, data->lpData, data->cbData))
        AddFilesFromCommandLine(*text);
    return 0;
}

LRESULT InstanceF::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_LBUTTONUP:  // a click unloads it, as the close box does
        case WM_CLOSE:
            Unload();
            return 0;
        default:
            return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace ferryl
