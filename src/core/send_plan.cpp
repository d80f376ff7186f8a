#include "core/send_plan.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>

#include "core/ascii_case.h"
#include "core/copy_naming.h"
#include "core/path_rules.h"

namespace ferryl {

namespace {

// A part's headers: its boundary, type and disposition with the file's name, which may be long
// and encoded.
constexpr uint64_t kPartAllowance = 1024;

// Names in one folder compare without regard to case. Only ASCII letters fold here; a clash of
// other letters that the file system folds is found by the copy itself, which never replaces a
// file and moves on to the next name.
std::wstring FoldedName(const std::wstring& name) {
    std::wstring folded = name;
    for (wchar_t& c : folded)
        c = AsciiLower(c);
    return folded;
}

// The name a copy takes in the folder: the file's own, or the first numbered one that neither
// the folder nor an earlier copy of this send has.
std::wstring FreeName(const CopyDestination& to, const std::wstring& name, std::set<std::wstring>& used) {
    for (int number = 1;; ++number) {
        std::wstring candidate = NumberedName(name, number);
        if (used.count(FoldedName(candidate)) != 0 || (!to.fresh && to.taken && to.taken(candidate)))
            continue;
        used.insert(FoldedName(candidate));
        return candidate;
    }
}

bool AnsiReaderOpens(const ListedFile& file, const CopyDestination* copiedTo) {
    if (!copiedTo)
        return file.ansiPath || file.ansiShortPath;
    // The copy's path is the folder's and the file's name (a number added is plain ASCII). Its 8.3
    // form is taken to exist where the file's does: they are made by the same system.
    return (copiedTo->ansiFolder && file.ansiName) || (copiedTo->ansiShortFolder && file.ansiShortPath);
}

// The message's estimate from the going files' bytes, and the largest of them.
void SizeUp(uint64_t sizeLimit, SendPlan& plan) {
    uint64_t bytes = 0;
    for (const PlannedFile& planned : plan.going)
        bytes = planned.bytes > std::numeric_limits<uint64_t>::max() - bytes ? std::numeric_limits<uint64_t>::max()
                                                                             : bytes + planned.bytes;
    plan.estimatedBytes = EstimatedMessageBytes(bytes, plan.going.size());
    plan.overLimit = sizeLimit != 0 && plan.estimatedBytes > sizeLimit;
    plan.largest.clear();
    for (size_t i = 0; i < plan.going.size(); ++i)
        plan.largest.push_back(i);
    std::stable_sort(plan.largest.begin(), plan.largest.end(),
                     [&](size_t a, size_t b) { return plan.going[a].bytes > plan.going[b].bytes; });
    if (plan.largest.size() > 3)
        plan.largest.resize(3);
}

}  // namespace

uint64_t EstimatedMessageBytes(uint64_t fileBytes, size_t fileCount) {
    constexpr uint64_t kMost = std::numeric_limits<uint64_t>::max();
    // fileBytes * 4 / 3, rounded up, without overflowing on the way.
    const uint64_t thirds = fileBytes / 3 + (fileBytes % 3 != 0 ? 1 : 0);
    const uint64_t encoded = thirds > kMost / 4 ? kMost : thirds * 4;
    const uint64_t headers = fileCount > kMost / kPartAllowance ? kMost : fileCount * kPartAllowance;
    return encoded > kMost - headers ? kMost : encoded + headers;
}

bool KindReadsAnsi(MailProgramKind kind) {
    switch (kind) {
        case MailProgramKind::CommandLine:
        case MailProgramKind::Sylpheed:
            return true;
        case MailProgramKind::Thunderbird:
        case MailProgramKind::Claws:
        case MailProgramKind::Outlook:
        case MailProgramKind::NewOutlook:
            break;
    }
    return false;
}

SendPlan PlanSend(const SendFacts& facts) {
    SendPlan plan;
    const CopyDestination* to = facts.copyTo ? &*facts.copyTo : nullptr;
    std::set<std::wstring> used;
    std::map<std::wstring, size_t> copiedByIdentity;  // a file's identity: its entry in plan.going
    for (size_t index = 0; index < facts.files.size(); ++index) {
        const ListedFile& file = facts.files[index];
        if (!file.exists) {
            plan.missing.push_back(index);
            continue;
        }
        const CopyDestination* copiedTo = to && !file.inFolder ? to : nullptr;
        if (facts.readsAnsi && !AnsiReaderOpens(file, copiedTo)) {
            plan.unreadable.push_back(index);
            continue;
        }
        PlannedFile planned{index, {}, std::nullopt, file.size};
        if (copiedTo) {
            auto earlier = file.identity.empty() ? copiedByIdentity.end() : copiedByIdentity.find(file.identity);
            if (earlier != copiedByIdentity.end()) {
                planned.sameAs = earlier->second;
                planned.copy = plan.going[earlier->second].copy;
            } else {
                planned.copy = to->folder + FreeName(*to, FileNameOf(file.path), used);
            }
        }
        if (copiedTo && !planned.sameAs && !file.identity.empty())
            copiedByIdentity.emplace(file.identity, plan.going.size());
        plan.going.push_back(std::move(planned));
    }
    SizeUp(facts.sizeLimit, plan);
    return plan;
}

void PlanPictureSize(const SendFacts& facts,
                     const std::vector<PictureFacts>& pictures,
                     PictureSize size,
                     SendPlan& plan) {
    plan.pictureSize = size;
    for (PlannedFile& planned : plan.going) {
        const ListedFile& file = facts.files[planned.listed];
        for (const PictureFacts& picture : pictures) {
            if (picture.path == file.path) {
                planned.bytes = EstimatedBytes(picture, size);
                planned.unreadablePicture = !picture.readable;
                break;
            }
        }
    }
    SizeUp(facts.sizeLimit, plan);
}

}  // namespace ferryl
