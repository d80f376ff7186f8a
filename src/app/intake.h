#pragma once
// The command-line intake: a Send To command line becomes rows of the main window's file list, one
// per existing file not listed yet.

#include <string_view>

#include "app/file_list_target.h"

namespace ferryl {

// The list's row numbers are 16-bit; past this many rows further files are not added.
inline constexpr long kMaxListRows = 32767;

// Shows the main window, then adds every existing, not yet listed file the text names (name,
// modification date, size, full path); when any was added, selects row 1 and enables "&Send Now".
// Folders are skipped like missing files. A failure skips that file; nothing is raised.
void AddFilesToList(std::wstring_view text, FileListTarget& target) noexcept;

}  // namespace ferryl
