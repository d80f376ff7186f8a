#pragma once
// The system's progress dialog (IProgressDialog) while a send job runs: the step and the file it is
// at, the bytes done of the total, the time left, and Cancel, which cancels the job. The dialog runs
// on a thread of the system's own; a timer on the window's thread brings it the job's progress ten
// times a second.

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <string>

#include "common/unique_handle.h"
#include "send/send_job.h"
#include "winsvc/timer.h"

namespace ferryl {

class SendProgressDialog : public CTimerEvents {
  public:
    // Shows the dialog, owned by owner (which stays usable), for the job; the job must outlive it.
    SendProgressDialog(HWND owner, SendJob& job);
    // Closes the dialog.
    ~SendProgressDialog() override;
    SendProgressDialog(const SendProgressDialog&) = delete;
    SendProgressDialog& operator=(const SendProgressDialog&) = delete;

  private:
    void ThatTime() override;
    void SetLine(DWORD line, const std::wstring& text, std::wstring& shown, bool compactPath);

    SendJob& m_job;
    UniqueCom<IProgressDialog> m_dialog;
    CTimer m_timer{this};
    std::wstring m_title, m_lines[3];  // as last shown
};

}  // namespace ferryl
