#include "send/send_job.h"

#include <utility>

namespace ferryl {

std::shared_ptr<SendJob> SendJob::Start(std::vector<SendStep> steps, HWND notify, UINT doneMessage) {
    std::shared_ptr<SendJob> job(new SendJob);
    job->m_thread = std::thread(&SendJob::Run, job.get(), std::move(steps), notify, doneMessage);
    return job;
}

SendJob::~SendJob() {
    Stop();
}

void SendJob::Stop() noexcept {
    Cancel();
    const std::lock_guard<std::mutex> hold(m_joining);
    if (m_thread.joinable())
        m_thread.join();
}

void SendJob::Cancel() noexcept {
    m_cancelled = true;
}

bool SendJob::Done() const noexcept {
    return m_done;
}

JobProgress SendJob::Progress() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    JobProgress progress = m_progress;
    progress.seconds = static_cast<double>(::GetTickCount64() - m_stepStart) / 1000.0;
    return progress;
}

bool SendJob::Report(uint64_t done, uint64_t total, const std::wstring& current) {
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_progress.done = done;
        m_progress.total = total;
        if (m_progress.current != current)
            m_progress.current = current;
    }
    return !m_cancelled;
}

void SendJob::Run(std::vector<SendStep> steps, HWND notify, UINT doneMessage) noexcept {
    const StepProgress report = [this](uint64_t done, uint64_t total, const std::wstring& current) {
        return Report(done, total, current);
    };
    for (size_t index = 0; index < steps.size(); ++index) {
        ContinueOnError(L"SendJob: step progress", [&] {
            const std::lock_guard<std::mutex> hold(m_lock);
            m_progress = JobProgress{steps[index].title, steps[index].countsBytes, 0, 0, {}, 0};
            m_stepStart = ::GetTickCount64();
        });
        StepStatus status = m_cancelled ? StepStatus::Cancelled : StepStatus::Failed;
        if (!m_cancelled) {
            try {
                status = steps[index].run(report);
            } catch (...) {
                m_outcome.thrown = RecordCaughtFailure(L"SendJob: " + steps[index].title);
            }
        }
        if (status != StepStatus::Done) {
            m_outcome.status = status;
            m_outcome.step = index;
            m_outcome.title = steps[index].title;
            break;
        }
    }
    m_done = true;
    ::PostMessageW(notify, doneMessage, 0, 0);
}

}  // namespace ferryl
