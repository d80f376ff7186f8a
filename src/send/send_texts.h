#pragma once
// What Send Now tells the user, made of what its plan and its copies say.

#include <string>
#include <vector>

#include "common/continue_on_error.h"
#include "core/send_plan.h"
#include "send/send_run.h"

namespace ferryl {

// What the progress calls the job's steps.
inline constexpr wchar_t kCopyStepTitle[] = L"Copying";
inline constexpr wchar_t kPictureStepTitle[] = L"Making pictures smaller";

// The texts, each on a line of its own after a line break.
std::wstring Lines(const std::vector<std::wstring>& lines);

// What has happened to the files of a run so far (copied, moved, or nothing), for a message that
// stops it or follows it: paragraphs to end that message with.
std::wstring FilesNote(const SendRun& run);

// The reason in a failure record, as the user reads it.
std::wstring ReasonOf(const FailureRecord& failure);

// The listed files that cannot go, a line each with the reason.
std::wstring CannotGoLines(const SendFacts& facts, const SendPlan& plan);

// The question when the message would be over the limit: the estimate, the limit, the largest files.
std::wstring TooBigText(const SendFacts& facts, const SendPlan& plan);

// Why the job stopped, when one of its steps failed, and what has happened to the files.
std::wstring JobFailedText(const SendRun& run, const JobOutcome& outcome);

// What the user is told when the job was cancelled.
std::wstring JobCancelledText(const SendRun& run, const JobOutcome& outcome);

// The question when the window is closed while the job works at the step of this title.
std::wstring CloseDuringJobQuestion(const std::wstring& stepTitle);

// What the user is told before the mail program starts: renamed copies, sources that stay,
// pictures that turned out unreadable only while they were made smaller. Empty when there is
// nothing to tell.
std::wstring BeforeHandOffText(const SendRun& run);

}  // namespace ferryl
