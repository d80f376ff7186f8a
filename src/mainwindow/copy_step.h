#pragma once
// Copy To's step for one listed file: copy it into the destination folder under a free name and,
// when asked, delete the source afterwards.

#include <string>

namespace ferryl {

struct CopyOutcome {
    enum class Status { Copied, FolderMissing, CopyFailed };
    Status status = Status::CopyFailed;
    std::wstring target;         // the copy's path when Copied
    bool sourceDeleted = false;  // the source is gone: the file now lives at target only
};

// Copies source into folder (a path ending in "\"), naming the copy after the source and, when
// that name is taken, after the source plus "." and the next value of counter, which the whole
// Send Now run shares. An existing file is never replaced: a name that turns up taken between the
// test and the copy moves on to the next counter. The source is deleted only after its copy
// succeeded, and only when deleteSource is set.
CopyOutcome CopyToFolder(const std::wstring& source, const std::wstring& folder, long& counter, bool deleteSource);

// True when the file lies directly in the folder, however either is spelt (short or long names,
// another drive mapping): the two folders are the same folder on the same volume.
bool LiesInFolder(const std::wstring& file, const std::wstring& folder);

// One spelling for every path of the same file (full, long, upper case), so that two rows naming
// one file under different spellings can be told to be the same. The file must still exist for its
// short and long names to be joined.
std::wstring SameFileKey(const std::wstring& path);

}  // namespace ferryl
