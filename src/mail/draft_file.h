#pragma once
// The draft message file for the new Outlook, in the temporary folder. The mail program reads it
// after Ferryl may have ended, so a draft stays until a later start finds it a day old.

#include <string>
#include <vector>

namespace ferryl {

struct DraftOutcome {
    std::wstring path;     // the draft written, when it succeeded
    std::wstring failure;  // why it could not be written, in words, otherwise
};

// Writes a draft holding the files (full paths) into folder (ending in "\") under a name of its
// own; an existing file is never replaced. A failure leaves no partial draft behind.
DraftOutcome WriteDraftFile(const std::wstring& folder, const std::vector<std::wstring>& files);

// Removes Ferryl's drafts in folder last written more than a day ago; other files stay.
void RemoveOldDrafts(const std::wstring& folder) noexcept;

}  // namespace ferryl
