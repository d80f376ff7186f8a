#pragma once
// One Send Now from its start to the end of its long work: the rows it sends, the mail program
// they go to, its plan, and the job with its progress while the copies are made.

#include <memory>
#include <string>
#include <vector>

#include "core/send_plan.h"
#include "mail/mail_target.h"
#include "send/copy_step.h"
#include "send/progress_dialog.h"
#include "send/send_job.h"

namespace ferryl {

struct SendRun {
    // A run that goes while its copies are still made (the window's end, the session's) stops
    // them first: none is left half made.
    ~SendRun() {
        if (job)
            job->Stop();
    }

    // True when one of the copies ended so.
    bool AnyCopyIn(CopyRecord::State state) const {
        if (!copies)
            return false;
        for (const CopyRecord& record : copies->Records())
            if (record.state == state)
                return true;
        return false;
    }

    long rows = 0;                     // the send takes rows 1 to rows; later files wait
    std::vector<std::wstring> listed;  // their paths when it started
    MailTarget target;
    bool readsAnsi = false;    // the mail program reads its paths in the ANSI code page
    std::wstring folder;       // Copy To's, ending in "\"; empty without Copy To
    bool freshFolder = false;  // a folder made for this send's copies
    SendPlan plan;
    std::shared_ptr<CopyStep> copies;              // the copies, once the job is started
    std::shared_ptr<SendJob> job;                  // while it runs
    std::unique_ptr<SendProgressDialog> progress;  // goes before the job it shows
};

}  // namespace ferryl
