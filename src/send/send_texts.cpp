#include "send/send_texts.h"

#include "common/byte_size.h"
#include "common/system_error_text.h"
#include "core/path_rules.h"

namespace ferryl {

namespace {

constexpr size_t kLargestShown = 3;

std::wstring Lines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines)
        text += L"\n" + line;
    return text;
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

}  // namespace

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
        const ListedFile& file = facts.files[plan.largest[i]];
        text += L"\n" + FileNameOf(file.path) + L" (" + ByteSizeText(file.size) + L")";
    }
    return text + L"\n\nSend them anyway? Choose No to go back to the list.";
}

std::wstring JobFailedText(const SendRun& run, const JobOutcome& outcome) {
    std::wstring text;
    if (outcome.thrown) {
        text = L"Send Now stopped at its step \"" + outcome.title + L"\".\n\n" + ReasonOf(*outcome.thrown);
    } else if (run.copies && run.copies->Failure()) {
        const CopyFailure& failure = *run.copies->Failure();
        text = L"The file " + Quoted(failure.source) + L" could not be copied to " + Quoted(run.folder) + L".\n\n" +
               failure.reason;
    } else {
        text = L"Send Now stopped at its step \"" + outcome.title + L"\".";
    }
    return text + L"\n\nNothing was sent, and the list stays." + FilesNote(run);
}

std::wstring BeforeHandOffText(const SendRun& run) {
    if (!run.copies)
        return {};
    std::wstring renamed, kept;
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
    std::wstring text;
    if (!renamed.empty())
        text +=
            L"These names were taken in the folder \"" + run.folder + L"\", so their copies were renamed:" + renamed;
    if (!kept.empty())
        text += std::wstring(text.empty() ? L"" : L"\n\n") +
                L"The files were copied, but these source files could not be deleted:" + kept;
    return text;
}

}  // namespace ferryl
