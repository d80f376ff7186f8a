#pragma once
// The command-line intake: a Send To command line becomes rows of the main window's file list, one
// per existing file not listed yet.

#include <string>
#include <string_view>
#include <vector>

#include "app/file_list_target.h"

namespace ferryl {

// Shows the main window, then adds every existing, not yet listed file the text names (name,
// modification date, size, full path); when any was added, selects row 1 and enables "&Send Now".
// A file is listed under its full long path (see ListedForm in intake.cpp), and one already listed
// under another spelling of it is not added again. Folders, devices and tokens with wildcards are
// skipped like missing files. A failure skips that file; nothing is raised. Returns the number of
// files added.
long AddFilesToList(std::wstring_view text, FileListTarget& target) noexcept;

// The same for paths already apart (a drop, a paste, a kept handoff): the same rules, the same
// warnings. The paths that could not be listed (the list full, or a failure) go to notListed when
// given.
long AddPathsToList(const std::vector<std::wstring>& paths,
                    FileListTarget& target,
                    std::vector<std::wstring>* notListed = nullptr) noexcept;

}  // namespace ferryl
