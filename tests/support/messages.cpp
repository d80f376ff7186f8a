#include "support/messages.h"

namespace ferryl::test {

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs) {
    HWND dialog = nullptr;
    PumpUntil([&] { return (dialog = ::FindWindowW(L"#32770", caption)) != nullptr; }, timeoutMs);
    return dialog;
}

namespace {

// A shown window of this process of the class and with the caption, or null.
HWND OwnWindow(const wchar_t* windowClass, const wchar_t* caption) {
    for (HWND dialog = nullptr; (dialog = ::FindWindowExW(nullptr, dialog, windowClass, caption)) != nullptr;) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(dialog, &process);
        if (process == ::GetCurrentProcessId() && ::IsWindowVisible(dialog))
            return dialog;
    }
    return nullptr;
}

}  // namespace

HWND FocusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    for (int i = 0; i < 300; ++i) {
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info);
        if (info.hwndFocus && ::IsChild(dialog, info.hwndFocus))
            return info.hwndFocus;
        ::Sleep(10);
    }
    return nullptr;
}

bool PostedMessagesHandled(HWND button, DWORD timeoutMs) {
    if (!::IsWindow(button) || !::PostMessageW(button, BM_SETSTATE, TRUE, 0))
        return !::IsWindow(button);
    const bool handled =
        PumpUntil([&] { return !::IsWindow(button) || (::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; },
                  timeoutMs);
    ::PostMessageW(button, BM_SETSTATE, FALSE, 0);
    return handled;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[2048]{};
    ::GetDlgItemTextW(box, 0xFFFF, text, 2048);
    return text;
}

DialogDriver::DialogDriver(const wchar_t* caption, std::function<void(HWND)> steps, const wchar_t* windowClass)
    : m_thread([this, caption, windowClass, steps = std::move(steps)] {
          const bool isDialog = std::wstring(windowClass) == L"#32770";
          HWND answered = nullptr;
          ULONGLONG since = 0;
          for (; !m_stop; ::Sleep(20)) {
              const HWND dialog = OwnWindow(windowClass, caption);
              if (dialog && dialog != answered) {
                  if (isDialog)
                      FocusOf(dialog);
                  ++m_answered;
                  answered = dialog;
                  steps(dialog);
                  since = ::GetTickCount64();
              } else if (dialog && dialog == answered && ::GetTickCount64() - since > 5000) {
                  if (isDialog)
                      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                  else
                      ::ShowWindow(dialog, SW_HIDE);
              }
          }
      }) {}

DialogDriver::~DialogDriver() {
    m_stop = true;
    m_thread.join();
}

}  // namespace ferryl::test
