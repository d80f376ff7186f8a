#pragma once
// The system's progress dialog (IProgressDialog) while a send job runs: the step and the file it is
// at, the bytes done of the total, the time left, and Cancel, which cancels the job. The dialog is
// made, fed and closed by a thread of its own, ten times a second, so that the window's thread
// never waits for it (under Wine, closing a window may take a second).

#include <windows.h>

#include <memory>

#include "common/unique_handle.h"
#include "send/send_job.h"

namespace ferryl {

class SendProgressDialog {
  public:
    // Shows the dialog, owned by owner (which stays usable), until the job has ended or this
    // object goes.
    SendProgressDialog(HWND owner, std::shared_ptr<SendJob> job);
    // Tells the dialog's thread to close it, without waiting.
    ~SendProgressDialog();
    SendProgressDialog(const SendProgressDialog&) = delete;
    SendProgressDialog& operator=(const SendProgressDialog&) = delete;

  private:
    UniqueHandle m_stop;  // an event: close the dialog now
};

}  // namespace ferryl
