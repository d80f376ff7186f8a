#include "app/instance.h"

#include "app/handoff_spool.h"
#include "app/handoff_text.h"
#include "app/start_up_state.h"
#include "core/command_line.h"

namespace ferryl {

namespace {

constexpr wchar_t kNamePrefix[] = L"_FerrylHandler_";

// Windows of a process that is not the foreground one cannot take the foreground; the sender,
// started by the shell, is, and lends that right to the receiver.
void LetReceiverTakeForeground(HWND receiver) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(receiver, &process);
    if (process != 0)
        ::AllowSetForegroundWindow(process);
}

BOOL CALLBACK FindMarkedWindow(HWND hwnd, LPARAM) noexcept {
    if (IsInstanceWindow(hwnd)) {
        StartUp().RunningInstanceWindow = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct ReceiverSearch {
    HWND own;
    DWORD ownProcess;
    bool found;
};

BOOL CALLBACK FindServingReceiver(HWND hwnd, LPARAM context) noexcept {
    auto& search = *reinterpret_cast<ReceiverSearch*>(context);
    if (hwnd == search.own || !IsInstanceWindow(hwnd))
        return TRUE;
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    search.found = !::GetPropW(hwnd, MutexlessMarkerName().c_str()) || process < search.ownProcess;
    return !search.found;
}

// The receiver is busy (a long copy) or stopped: the files wait for it in the spool folder. Should
// the message still reach it, they come twice, and one row holds each.
HandoffResult KeepForBusyReceiver(HWND receiver, std::wstring_view commandLine) {
    std::vector<std::wstring> paths = CommandLinePaths(commandLine);
    std::erase_if(paths, [](const std::wstring& path) { return path.empty(); });
    if (paths.empty())
        return HandoffResult::Delivered;  // no file to keep: it was only to be brought forward
    if (!KeepHandoff(paths))
        return HandoffResult::NotKept;
    // Gone meanwhile: the next attempt finds whoever serves now, or this start becomes the instance;
    // either takes the kept files in.
    if (!::PostMessageW(receiver, kTakeKeptHandoffsMessage, 0, 0))
        return HandoffResult::NoReceiver;
    return HandoffResult::Kept;
}

}  // namespace

std::wstring InstanceMutexName() {
    return std::wstring(kNamePrefix) + L"_APPLICATION_MUTEX";
}

std::wstring InstanceMarkerName() {
    return std::wstring(kNamePrefix) + L"_APPLICATION";
}

std::wstring MutexlessMarkerName() {
    return std::wstring(kNamePrefix) + L"_NO_MUTEX";
}

bool IsFirstInstance(const std::wstring& mutexName) {
    HANDLE created = ::CreateMutexW(nullptr, TRUE, mutexName.c_str());
    const DWORD error = ::GetLastError();
    UniqueMutex mutex(created);
    if (error == ERROR_ALREADY_EXISTS)
        return false;
    StartUp().InstanceMutex = std::move(mutex);
    return true;
}

void FindRunningInstance() {
    // The same top-level windows EnumWindows walks. Under Wine, EnumWindows asks for the desktop
    // window, which loads and connects the display driver: the slowest part of a second start,
    // which never shows anything. Enumerating the thread's desktop does not need it.
    ::EnumDesktopWindows(::GetThreadDesktop(::GetCurrentThreadId()), &FindMarkedWindow, 0);
}

bool IsInstanceWindow(HWND hwnd) {
    return ::GetPropW(hwnd, InstanceMarkerName().c_str()) == reinterpret_cast<HANDLE>(1);
}

void MarkInstanceWindow(HWND hwnd) {
    ::SetPropW(hwnd, InstanceMarkerName().c_str(), reinterpret_cast<HANDLE>(1));
}

void RestoreAndActivate(HWND hwnd) {
    if (::IsIconic(hwnd))
        ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    ::SetForegroundWindow(hwnd);
}

void ReleaseInstanceMutex() {
    StartUp().InstanceMutex.reset();
}

bool AdoptInstanceMutex() {
    if (StartUp().InstanceMutex)
        return true;
    // IsFirstInstance also answers true when the mutex could not be made at all.
    return IsFirstInstance(InstanceMutexName()) && StartUp().InstanceMutex;
}

bool AnotherReceiverServes(HWND own) {
    ReceiverSearch search{own, 0, false};
    ::GetWindowThreadProcessId(own, &search.ownProcess);
    ::EnumDesktopWindows(::GetThreadDesktop(::GetCurrentThreadId()), &FindServingReceiver,
                         reinterpret_cast<LPARAM>(&search));
    return search.found;
}

SendResult SendCommandLine(HWND receiver, std::wstring_view commandLine) {
    HandoffPayload payload = BuildHandoffPayload(commandLine);
    COPYDATASTRUCT data{};
    data.dwData = payload.dwData;
    data.cbData = static_cast<DWORD>(payload.bytes.size());
    data.lpData = payload.bytes.data();
    LetReceiverTakeForeground(receiver);
    DWORD_PTR result = 0;
    ::SetLastError(ERROR_SUCCESS);
    if (::SendMessageTimeoutW(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, kHandoffTimeoutMs,
                              &result))
        return SendResult::Delivered;
    return ::GetLastError() == ERROR_TIMEOUT ? SendResult::TimedOut : SendResult::Failed;
}

HandoffResult HandOffToRunningInstance(std::wstring_view commandLine) {
    // A receiver found by an earlier attempt may have gone since.
    StartUp().RunningInstanceWindow = nullptr;
    FindRunningInstance();
    HWND receiver = StartUp().RunningInstanceWindow;
    if (!receiver)
        return HandoffResult::NoReceiver;
    if (commandLine.empty() && ::IsWindowVisible(receiver)) {
        RestoreAndActivate(receiver);
        return HandoffResult::Delivered;
    }
    switch (SendCommandLine(receiver, commandLine)) {
        case SendResult::Delivered:
            return HandoffResult::Delivered;
        case SendResult::TimedOut:
            return KeepForBusyReceiver(receiver, commandLine);
        case SendResult::Failed:
            break;
    }
    return HandoffResult::NoReceiver;
}

HandoffOutcome HandOffWithRetries(std::wstring_view commandLine, unsigned long retryMs) {
    const ULONGLONG deadline = ::GetTickCount64() + retryMs;
    for (;;) {
        switch (HandOffToRunningInstance(commandLine)) {
            case HandoffResult::Delivered:
            case HandoffResult::Kept:
                return HandoffOutcome::HandedOver;
            case HandoffResult::NotKept:
                return HandoffOutcome::NotKept;
            case HandoffResult::NoReceiver:
                break;
        }
        if (IsFirstInstance(InstanceMutexName()))
            return HandoffOutcome::NowFirst;
        if (::GetTickCount64() >= deadline)
            return HandoffOutcome::NoneAnswered;
        // The running instance marks its receiver once its start-up is done: a few tenths of a
        // second on a slow start.
        ::Sleep(20);
    }
}

}  // namespace ferryl
