#pragma once
// The facts Send Now's plan is made of, read from the system as Send Now starts.

#include <string>
#include <vector>

#include "core/send_plan.h"

namespace ferryl {

// Each listed path as it stands now; with copyFolder, also its identity and whether it lies in
// that folder already, however either is spelt (short or long names, another drive mapping).
std::vector<ListedFile> ReadListedFiles(const std::vector<std::wstring>& paths, const std::wstring* copyFolder);

// Copy To's folder (ending in "\"). A fresh one holds nothing yet, so nothing of it is looked up.
CopyDestination ReadCopyDestination(const std::wstring& folder, bool fresh);

// True when the two paths name one folder, however each is spelt.
bool IsSameFolder(const std::wstring& folder, const std::wstring& other);

struct FreshFolder {
    std::wstring path;     // ending in "\", when it was made
    std::wstring failure;  // the system's reason, when it was not
};

// A new folder in parent (ending in "\") for one send's copies, named by the time of the send:
// "Ferryl 2024-05-01 14-07-33", numbered as copies are when two sends share a second.
FreshFolder MakeFreshFolder(const std::wstring& parent);

}  // namespace ferryl
