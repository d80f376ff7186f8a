#pragma once
// A program started for a test; one still running at the end of the test is killed, so no test
// leaves a process (and the mutex it may hold) behind.

#include <windows.h>

#include <string>

#include "support/messages.h"

namespace ferryl::test {

class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess() {
        if (!m_info.hProcess)
            return;
        if (!Exited())
            Kill();
        ::CloseHandle(m_info.hProcess);
        ::CloseHandle(m_info.hThread);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the program with the arguments after its quoted path, as the shell does.
    bool Start(const std::wstring& program, const std::wstring& arguments) {
        std::wstring commandLine = L"\"" + program + L"\"";
        if (!arguments.empty())
            commandLine += L" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        return ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &m_info) != FALSE;
    }

    // Pumps this thread's messages (the child may be sending to one of its windows) until the child
    // has ended and the condition holds.
    bool WaitForExit(
        const std::function<bool()>& alsoUntil = [] { return true; },
        DWORD timeoutMs = 20000) {
        return PumpUntil([&] { return ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_OBJECT_0 && alsoUntil(); },
                         timeoutMs);
    }

    // Waits until the child's message loop first waits for input: its start-up work is done.
    bool WaitForInputIdle(DWORD timeoutMs = 20000) const { return ::WaitForInputIdle(m_info.hProcess, timeoutMs) == 0; }

    bool Exited() const { return m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_OBJECT_0; }

    // Stops the program's main thread, as a long piece of work holds it, and lets it go on.
    bool SuspendMainThread() const { return ::SuspendThread(m_info.hThread) != static_cast<DWORD>(-1); }
    bool ResumeMainThread() const { return ::ResumeThread(m_info.hThread) != static_cast<DWORD>(-1); }

    // Ends the program at once, as Task Manager's End task does; true once it is gone.
    bool Kill() const {
        return ::TerminateProcess(m_info.hProcess, 99) &&
               ::WaitForSingleObject(m_info.hProcess, 10000) == WAIT_OBJECT_0;
    }

    DWORD ExitCode() const {
        DWORD code = 0;
        ::GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION m_info{};
};

}  // namespace ferryl::test
