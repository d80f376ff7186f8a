#pragma once
// One Send Now from its start to the end of its long work: the rows it sends, the mail program
// they go to, its plan, and the job with its progress while the copies and the smaller pictures
// are made.

#include <memory>
#include <string>
#include <vector>

#include "core/send_plan.h"
#include "mail/mail_target.h"
#include "send/copy_step.h"
#include "send/picture_step.h"
#include "send/progress_dialog.h"
#include "send/send_job.h"

namespace ferryl {

struct SendRun {
    // A run that goes while its job still works (the window's end, the session's) stops it first:
    // no copy is left half made.
    ~SendRun() {
        if (job)
            job->Stop();
    }

    // True when one of the copies ended so.
    bool AnyCopyIn(CopyRecord::State state) const;
    // What the mail program gets for the going files: the copies of Copy To, or the files, with the
    // smaller pictures in place of theirs.
    std::vector<std::wstring> PathsToSend() const;
    // The smaller pictures go again when the mail program does not get them.
    void RemoveSmallerPictures() const;
    // The folder made for this send goes again when nothing went into it (only an empty one goes).
    void RemoveEmptyFreshFolder() const;

    long rows = 0;                     // the send takes rows 1 to rows; later files wait
    std::vector<std::wstring> listed;  // their paths when it started
    MailTarget target;
    bool readsAnsi = false;    // the mail program reads its paths in the ANSI code page
    std::wstring folder;       // Copy To's, ending in "\"; empty without Copy To
    bool freshFolder = false;  // a folder made for this send's copies
    SendPlan plan;
    std::shared_ptr<CopyStep> copies;              // the copies, once the job is started
    std::shared_ptr<PictureStepOutcome> pictures;  // the smaller pictures, once the job has made them
    std::shared_ptr<SendJob> job;                  // while it runs
    std::unique_ptr<SendProgressDialog> progress;  // goes before the job it shows
};

// The path each going file leaves the copies as: its copy, or itself.
std::vector<std::wstring> PathsAfterCopies(const std::vector<PlannedFile>& going,
                                           const std::vector<std::wstring>& listed,
                                           const CopyStep* copies);

}  // namespace ferryl
