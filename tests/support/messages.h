#pragma once
// Helpers for tests that drive real windows.

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace ferryl::test {

// Dispatches every queued message of this thread.
void PumpMessages();

// Pumps messages until the condition holds or the time runs out; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// The dialog box (of any process) with the caption once it is there, pumping meanwhile; null when
// none came in time.
HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs = 10000);

// The control with the keyboard focus in the thread that runs the dialog, once the dialog has given
// it one; null when none came in time.
HWND FocusOf(HWND dialog);

// True once the thread of the button's window (any process) has handled every message posted to it
// before (a pushed look posted after them shows only then); a button that goes counts as handled.
bool PostedMessagesHandled(HWND button, DWORD timeoutMs = 10000);

// The text of a message box: its static control's.
std::wstring MessageBoxText(HWND box);

// From a thread of its own, runs the steps on each window of this process of the class and caption
// that shows while the driver lives (a dialog once it has a focus, or after 3 seconds). One the
// steps leave open for 5 seconds is cancelled (or hidden), so that a failing test does not hang.
class DialogDriver {
  public:
    DialogDriver(const wchar_t* caption, std::function<void(HWND)> steps, const wchar_t* windowClass = L"#32770");
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    // How many dialogs the steps have begun on.
    int Answered() const { return m_answered; }
    bool Found() const { return m_answered > 0; }

  private:
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_answered{0};
    std::thread m_thread;
};

}  // namespace ferryl::test
