#pragma once
// A file entry: one row of the file list, built whole from the file before it is added, for the
// intake and the main window's Add alike.

#include <optional>
#include <string>

#include "common/tagged_value.h"

namespace ferryl {

struct FileEntry {
    TaggedValue name;      // "file": the name shown
    TaggedValue modified;  // "date": the last-modified time, a date on the user's clock
    TaggedValue size;      // "size": the length as text formatted with "#,###,###,##0"
    std::wstring path;     // "path": the full path, the entry's identity
};

// The entry of the file at path, shown under name. It reads the exact path's attributes, never a
// directory search. Nothing when they cannot be read (the thread's last error says why) or the path
// names a folder.
std::optional<FileEntry> ReadFileEntry(const std::wstring& path, TaggedValue name);

}  // namespace ferryl
