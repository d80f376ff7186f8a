#pragma once
// A file's row of the file list: the cells that come from the file itself (its modification time
// and its size) read once for the intake and the main window's Add alike, and the row written.

#include <optional>
#include <string>

#include "app/file_list_target.h"
#include "common/tagged_value.h"

namespace ferryl {

struct FileEntry {
    TaggedValue modified;  // a date, in the user's local time
    TaggedValue size;      // text formatted with "#,###,###,##0"
};

// The exact path's attributes, never a directory search. Nothing when they cannot be read (the
// thread's last error says why) or the path names a folder.
std::optional<FileEntry> ReadFileEntry(const std::wstring& path);

// Writes row `row` (Rows() + 1 appends it): the name shown, the entry, and the full path.
void WriteFileRow(FileListTarget& target,
                  long row,
                  const TaggedValue& name,
                  const std::wstring& path,
                  const FileEntry& entry);

}  // namespace ferryl
