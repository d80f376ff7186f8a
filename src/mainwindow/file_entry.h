#pragma once
// The cells of a file entry that come from the file itself: its modification time and its size.

#include <string>

#include "common/tagged_value.h"

namespace ferryl {

// Cell text alignment of the size column: DT_RIGHT.
inline constexpr unsigned long kSizeAlign = 2;

struct FileEntry {
    TaggedValue modified;  // a date, in the user's local time
    TaggedValue size;      // text formatted with "#,###,###,##0"
};

// Raises ferryl::Error when the file cannot be read.
FileEntry ReadFileEntry(const std::wstring& path);

}  // namespace ferryl
