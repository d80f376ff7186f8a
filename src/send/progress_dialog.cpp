#include "send/progress_dialog.h"

#include "common/byte_size.h"
#include "common/continue_on_error.h"
#include "common/error.h"
#include "core/time_left.h"

namespace ferryl {

namespace {

constexpr long kUpdateEveryMs = 100;

std::wstring DoneOfTotal(const JobProgress& progress) {
    if (progress.countsBytes)
        return ByteSizeText(progress.done) + L" of " + ByteSizeText(progress.total);
    return std::to_wstring(progress.done) + L" of " + std::to_wstring(progress.total);
}

}  // namespace

SendProgressDialog::SendProgressDialog(HWND owner, SendJob& job) : m_job(job) {
    // The window's thread is a COM apartment from start-up on.
    if (FAILED(::CoCreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IProgressDialog,
                                  reinterpret_cast<void**>(m_dialog.put())))) {
        ContinueOnError(L"SendProgressDialog: CoCreateInstance", [] {
            throw Error(static_cast<long>(::GetLastError()), ErrorSource(L"SendProgressDialog"),
                        L"The system's progress dialog is not available");
        });
        return;
    }
    ThatTime();
    m_dialog.get()->SetCancelMsg(L"Cancelling: the file being copied stays where it is.", nullptr);
    // Not modal: the window goes on taking files, which wait for the next Send Now.
    m_dialog.get()->StartProgressDialog(owner, nullptr, PROGDLG_NORMAL | PROGDLG_NOMINIMIZE, nullptr);
    ContinueOnError(L"SendProgressDialog: timer", [&] { m_timer.Interval(kUpdateEveryMs); });
}

SendProgressDialog::~SendProgressDialog() {
    ContinueOnError(L"SendProgressDialog: timer stop", [&] { m_timer.Interval(0); });
    if (m_dialog)
        m_dialog.get()->StopProgressDialog();
}

void SendProgressDialog::SetLine(DWORD line, const std::wstring& text, std::wstring& shown, bool compactPath) {
    if (text == shown)
        return;
    shown = text;
    m_dialog.get()->SetLine(line, text.c_str(), compactPath, nullptr);
}

void SendProgressDialog::ThatTime() {
    if (!m_dialog)
        return;
    if (m_dialog.get()->HasUserCancelled())
        m_job.Cancel();
    const JobProgress progress = m_job.Progress();
    if (const std::wstring title = progress.title + L" - Ferryl Handler"; title != m_title) {
        m_title = title;
        m_dialog.get()->SetTitle(title.c_str());
    }
    SetLine(1, progress.current, m_lines[0], true);
    SetLine(2, DoneOfTotal(progress), m_lines[1], false);
    SetLine(3, TimeLeftText(progress.done, progress.total, progress.seconds), m_lines[2], false);
    m_dialog.get()->SetProgress64(progress.done, progress.total);
}

}  // namespace ferryl
