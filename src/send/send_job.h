#pragma once
// Send Now's long work, off the window's thread: a list of steps (the copies of Copy To, then any
// later step such as pictures made smaller) run one after the other on a thread of the job's own.
// Each step reports its progress and learns of a cancel through one callback; the window reads the
// progress when it likes, and is posted a message when the job has ended.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/continue_on_error.h"

namespace ferryl {

// What a step says as it goes: done of total (in its own units, bytes for copies) and the file it
// is at. False back means stop: the user cancelled.
using StepProgress = std::function<bool(uint64_t done, uint64_t total, const std::wstring& current)>;

enum class StepStatus { Done, Cancelled, Failed };

struct SendStep {
    std::wstring title;       // what the progress calls the step: "Copying"
    bool countsBytes = true;  // its done and total are bytes; else things (pictures, say)
    // Runs on the job's thread. A step that fails keeps the reason for the window to read; one
    // that throws fails with what it threw.
    std::function<StepStatus(const StepProgress&)> run;
};

struct JobProgress {
    std::wstring title;  // the step's
    bool countsBytes = true;
    uint64_t done = 0;
    uint64_t total = 0;
    std::wstring current;
    double seconds = 0;  // since the step began
};

struct JobOutcome {
    StepStatus status = StepStatus::Done;
    size_t step = 0;                      // the step that was cancelled or failed
    std::wstring title;                   // its title
    std::optional<FailureRecord> thrown;  // what it threw, when it did
};

class SendJob {
  public:
    // Starts the steps; when they have ended (or one did not end as done), doneMessage is posted
    // to notify.
    static std::shared_ptr<SendJob> Start(std::vector<SendStep> steps, HWND notify, UINT doneMessage);
    // Stops the job.
    ~SendJob();
    SendJob(const SendJob&) = delete;
    SendJob& operator=(const SendJob&) = delete;

    // The running step stops at its next report, and no later step starts.
    void Cancel() noexcept;
    // Cancels, and waits for the running step to stop: a step leaves no half-made file.
    void Stop() noexcept;
    // True once every step has ended; the done message alone does not say so (any program can
    // post a message of that number).
    bool Done() const noexcept;
    JobProgress Progress() const;
    // Once Done.
    const JobOutcome& Outcome() const noexcept { return m_outcome; }

  private:
    SendJob() = default;
    void Run(std::vector<SendStep> steps, HWND notify, UINT doneMessage) noexcept;
    bool Report(uint64_t done, uint64_t total, const std::wstring& current);

    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_done{false};
    mutable std::mutex m_lock;  // guards m_progress and m_stepStart
    JobProgress m_progress;
    ULONGLONG m_stepStart = 0;
    JobOutcome m_outcome;  // written by the thread before m_done
    std::mutex m_joining;
    std::thread m_thread;
};

}  // namespace ferryl
