#pragma once
// Copy To's step for one listed file: copy it into the destination folder under a free name and,
// when asked, delete the source afterwards.

#include <windows.h>

#include <string>
#include <string_view>

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
// another drive mapping): the two are the same folder by their identity keys.
bool LiesInFolder(const std::wstring& file, const std::wstring& folder);

// One key for every path of the same file or folder, taken while it is where the path says: the
// file system's id of it on its volume, so that two rows naming one file under different spellings
// are told to be the same, and two files whose names differ only in case (a case-sensitive folder)
// are not. Where the object cannot be opened, or its file system gives no id, its full long path
// in upper case stands in.
std::wstring FileIdentityKey(const std::wstring& path);

// What a file system says of an object, as FileIdentityKey reads it.
struct FileIds {
    bool has128 = false;  // FileIdInfo (Windows 8 on): a 128-bit id and a 64-bit volume serial
    ULONGLONG volume128 = 0;
    unsigned char id128[16]{};
    bool has64 = false;  // GetFileInformationByHandle: a 64-bit index, a 32-bit volume serial
    DWORD volume64 = 0;
    ULONGLONG index64 = 0;
};

// The key from what was read. An id of 0 means none: some file systems give 0 for every object.
// The 128-bit id goes first, as ReFS's 64-bit index is cut from it and two files may share it.
std::wstring IdentityKey(const FileIds& ids, std::wstring_view fullLongPath);

}  // namespace ferryl
