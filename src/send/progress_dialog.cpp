#include "send/progress_dialog.h"

// After windows.h, which it needs.
#include <shlobj.h>

#include <string>
#include <thread>

#include "common/byte_size.h"
#include "common/continue_on_error.h"
#include "common/error.h"
#include "core/time_left.h"

namespace ferryl {

namespace {

constexpr DWORD kUpdateEveryMs = 100;

std::wstring DoneOfTotal(const JobProgress& progress) {
    if (progress.countsBytes)
        return ByteSizeText(progress.done) + L" of " + ByteSizeText(progress.total);
    return std::to_wstring(progress.done) + L" of " + std::to_wstring(progress.total);
}

// The dialog's lines, each set only when its text changes.
class Shown {
  public:
    explicit Shown(IProgressDialog& dialog) : m_dialog(dialog) {}

    void Update(const JobProgress& progress) {
        if (const std::wstring title = progress.title + L" - Ferryl Handler"; title != m_title) {
            m_title = title;
            m_dialog.SetTitle(title.c_str());
        }
        SetLine(1, progress.current, true);
        SetLine(2, DoneOfTotal(progress), false);
        SetLine(3, TimeLeftText(progress.done, progress.total, progress.seconds), false);
        m_dialog.SetProgress64(progress.done, progress.total);
    }

  private:
    void SetLine(DWORD line, const std::wstring& text, bool compactPath) {
        if (text == m_lines[line - 1])
            return;
        m_lines[line - 1] = text;
        m_dialog.SetLine(line, text.c_str(), compactPath, nullptr);
    }

    IProgressDialog& m_dialog;
    std::wstring m_title, m_lines[3];
};

// The dialog's thread: a COM apartment of its own, pumped while it waits.
void ShowProgress(HWND owner, const std::shared_ptr<SendJob>& job, HANDLE stop) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    UniqueCom<IProgressDialog> dialog;
    if (FAILED(::CoCreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IProgressDialog,
                                  reinterpret_cast<void**>(dialog.put())))) {
        // The copies go on without it; Send Now stays disabled until they end.
        ContinueOnError(L"SendProgressDialog", [] {
            throw Error(static_cast<long>(::GetLastError()), ErrorSource(L"SendProgressDialog"),
                        L"The system's progress dialog is not available");
        });
    } else {
        Shown shown(*dialog.get());
        shown.Update(job->Progress());
        dialog.get()->SetCancelMsg(L"Cancelling: the file at hand is left as it was.", nullptr);
        // Not modal: the window goes on taking files, which wait for the next Send Now.
        dialog.get()->StartProgressDialog(owner, nullptr, PROGDLG_NORMAL | PROGDLG_NOMINIMIZE, nullptr);
        while (!job->Done() &&
               ::MsgWaitForMultipleObjects(1, &stop, FALSE, kUpdateEveryMs, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
            if (dialog.get()->HasUserCancelled())
                job->Cancel();
            shown.Update(job->Progress());
        }
        dialog.get()->StopProgressDialog();
    }
    dialog.reset();
    if (SUCCEEDED(com))
        ::CoUninitialize();
}

}  // namespace

SendProgressDialog::SendProgressDialog(HWND owner, std::shared_ptr<SendJob> job)
    : m_stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    // The thread keeps its own handle of the event and its share of the job.
    HANDLE duplicate = nullptr;
    if (!m_stop || !::DuplicateHandle(::GetCurrentProcess(), m_stop.get(), ::GetCurrentProcess(), &duplicate, 0, FALSE,
                                      DUPLICATE_SAME_ACCESS))
        return;
    ContinueOnError(L"SendProgressDialog: thread", [&] {
        std::thread([owner, job = std::move(job), stop = UniqueHandle(duplicate)] {
            ContinueOnError(L"SendProgressDialog: show", [&] { ShowProgress(owner, job, stop.get()); });
        }).detach();
    });
}

SendProgressDialog::~SendProgressDialog() {
    if (m_stop)
        ::SetEvent(m_stop.get());
}

}  // namespace ferryl
