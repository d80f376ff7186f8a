#pragma once
// Continue-on-error: a step that fails is skipped and the caller goes on with the next one, but the
// failure is recorded, so that a user's "nothing happened" can be diagnosed. Each record goes to
// the debugger (OutputDebugStringW, which DebugView and Wine's +debugstr channel show) and to a
// small log of the latest failures, which the tests read.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ferryl {

struct FailureRecord {
    std::wstring step;         // what was being done, as the caller named it
    long number = 0;           // the Error's number; 0 for any other exception
    std::wstring source;       // the Error's source; "C++" for a standard exception; empty when unknown
    std::wstring description;  // the Error's description, or the exception's own text
    // The thread's last Win32 error when the Error was raised (when another exception was caught):
    // the system's reason where a failed system call led to the failure.
    unsigned long lastError = 0;
};

// How many of the latest failures the log keeps; older ones fall out.
inline constexpr size_t kFailureLogSize = 32;

// Records the exception being handled as the failure of `step`, and gives the record back for a
// caller that tells the user why. Only inside a catch block.
FailureRecord RecordCaughtFailure(std::wstring_view step) noexcept;

// Runs `run`; whatever it throws is recorded as the failure of `step` and goes no further. True
// when the step ran to its end.
template <typename Step>
bool ContinueOnError(std::wstring_view step, Step&& run) noexcept {
    try {
        run();
        return true;
    } catch (...) {
        RecordCaughtFailure(step);
        return false;
    }
}

// The latest failures, oldest first (at most kFailureLogSize).
std::vector<FailureRecord> RecentFailures();
void ClearFailures();

// One record as the debugger is sent it:
// `step "Form_Load" failed: 53 / Ferryl.FerrylF / File not found (last error 2)`.
std::wstring FailureText(const FailureRecord& record);

}  // namespace ferryl
