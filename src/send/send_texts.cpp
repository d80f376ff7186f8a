#include "send/send_texts.h"

#include <algorithm>

#include "common/byte_size.h"
#include "common/system_error_text.h"
#include "core/path_rules.h"

namespace ferryl {

namespace {

constexpr size_t kLargestShown = 3;

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

}  // namespace

std::wstring Lines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines)
        text += L"\n" + line;
    return text;
}

std::wstring FilesNote(const SendRun& run) {
    std::vector<std::wstring> moved, copied;
    if (run.copies) {
        for (const CopyRecord& record : run.copies->Records()) {
            if (record.state == CopyRecord::State::Moved)
                moved.push_back(record.copy);
            else if (record.state != CopyRecord::State::NotCopied)
                copied.push_back(record.copy);
        }
    }
    if (moved.empty() && copied.empty())
        return L"\n\nNo file was copied or moved.";
    std::wstring note;
    if (!moved.empty())
        note += L"\n\nThese files were moved into the folder; the list names their new places:" + Lines(moved);
    if (!copied.empty())
        note += L"\n\nThese copies were made; their files stay where they were:" + Lines(copied);
    return note;
}

std::wstring ReasonOf(const FailureRecord& failure) {
    std::wstring reason = failure.description.empty() ? L"An unexpected error occurred." : failure.description;
    if (failure.lastError != 0)
        reason += L"\n" + SystemErrorText(failure.lastError);
    return reason;
}

std::wstring CannotGoLines(const SendFacts& facts, const SendPlan& plan) {
    std::wstring text;
    for (size_t index : plan.missing)
        text += L"\n" + facts.files[index].path + L" (it no longer exists)";
    for (size_t index : plan.unreadable)
        text += L"\n" + facts.files[index].path +
                L" (the mail program reads only names the system's code page holds, and neither this file's name nor "
                L"a short name of it does)";
    return text;
}

std::wstring TooBigText(const SendFacts& facts, const SendPlan& plan) {
    std::wstring text = L"With these files the message would be about " + ByteSizeText(plan.estimatedBytes) +
                        L", over the limit of " + ByteSizeText(facts.sizeLimit) +
                        L": the mail server may refuse it.\n\nThe largest files:";
    for (size_t i = 0; i < plan.largest.size() && i < kLargestShown; ++i) {
        const PlannedFile& file = plan.going[plan.largest[i]];
        text += L"\n" + FileNameOf(facts.files[file.listed].path) + L" (" + ByteSizeText(file.bytes) + L")";
    }
    return text + L"\n\nSend them anyway? Choose No to go back to the list.";
}

std::wstring JobFailedText(const SendRun& run, const JobOutcome& outcome) {
    std::wstring text;
    if (outcome.thrown) {
        text = L"Send Now stopped at its step \"" + outcome.title + L"\".\n\n" + ReasonOf(*outcome.thrown);
    } else if (outcome.title == kPictureStepTitle && run.pictures && !run.pictures->failure.empty()) {
        text = run.pictures->failure;
    } else if (run.copies && run.copies->Failure()) {
        const CopyFailure& failure = *run.copies->Failure();
        text = L"The file " + Quoted(failure.source) + L" could not be copied to " + Quoted(run.folder) + L".\n\n" +
               failure.reason;
    } else {
        text = L"Send Now stopped at its step \"" + outcome.title + L"\".";
    }
    return text + L"\n\nNothing was sent, and the list stays." + FilesNote(run);
}

std::wstring JobCancelledText(const SendRun& run, const JobOutcome& outcome) {
    const wchar_t* what = outcome.title == kPictureStepTitle ? L"Making the pictures smaller" : L"Copy To";
    return what + std::wstring(L" was cancelled: nothing was sent, and the list stays.") + FilesNote(run);
}

std::wstring CloseDuringJobQuestion(const std::wstring& stepTitle) {
    if (stepTitle == kPictureStepTitle)
        return L"The pictures are still being made smaller.\n\nCancel that and close the window? Nothing is sent.";
    return L"Copy To is still copying the files.\n\nCancel the copies and close the window? The file being copied "
           L"stays where it is, and its copy is removed.";
}

std::wstring BeforeHandOffText(const SendRun& run) {
    std::wstring renamed, kept, broken;
    if (run.copies) {
        const std::vector<CopyRequest>& requests = run.copies->Requests();
        const std::vector<CopyRecord>& records = run.copies->Records();
        for (size_t i = 0; i < requests.size(); ++i) {
            if (requests[i].sameAs)
                continue;
            if (FileNameOf(records[i].copy) != requests[i].name)
                renamed += L"\n" + Quoted(requests[i].name) + L" goes as " + Quoted(FileNameOf(records[i].copy));
            if (records[i].state == CopyRecord::State::SourceKept)
                kept += L"\n" + requests[i].source + L": " + records[i].reason;
        }
    }
    if (run.pictures) {
        // The pictures the picture size question named already are not named again.
        const std::vector<std::wstring> made = PathsAfterCopies(run.plan.going, run.listed, run.copies.get());
        for (size_t i = 0; i < made.size(); ++i) {
            const std::vector<std::wstring>& unreadable = run.pictures->unreadable;
            if (!run.plan.going[i].unreadablePicture &&
                std::find(unreadable.begin(), unreadable.end(), made[i]) != unreadable.end())
                broken += L"\n" + run.listed[run.plan.going[i].listed];
        }
    }
    std::wstring text;
    const auto paragraph = [&](const std::wstring& lines, const std::wstring& heading) {
        if (!lines.empty())
            text += (text.empty() ? L"" : L"\n\n") + heading + lines;
    };
    paragraph(renamed, L"These names were taken in the folder \"" + run.folder + L"\", so their copies were renamed:");
    paragraph(kept, L"The files were copied, but these source files could not be deleted:");
    paragraph(broken,
              L"These files could not be read as pictures while they were made smaller, and are sent as they are:");
    return text;
}

}  // namespace ferryl
