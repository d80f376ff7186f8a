#pragma once
// File and path helpers. None of them raises or shows anything: a failure is a false result or an
// empty text.

#include <string>

#include "common/tagged_value.h"
#include "core/path_rules.h"

namespace ferryl {

// True for an existing file (hidden, system and read-only ones too, never a folder) whose path is a
// full drive or network path; a pattern with wildcards that matches a file also counts.
bool FileExists(const std::wstring& path);

// True when the path (at least three characters) names an existing folder or file.
bool FolderExists(const std::wstring& path);

// True when the path (a full one, or relative to the current folder) names an existing file, not a
// folder, by its attributes.
bool IsExistingFile(const std::wstring& path);

// The full path the system makes of a path (GetFullPathNameW: "." and ".." resolved, "/" made
// "\", the trailing blanks and dots of the last part gone); the path as given when it has none.
std::wstring FullPathName(const std::wstring& path);

// The 8.3 form of an existing path; empty when the path does not exist.
std::wstring ShortPathName(const std::wstring& path);

// The long form of an existing path (every 8.3 part replaced by its long name); the path as given
// when the system has none to give.
std::wstring LongPathName(const std::wstring& path);

// FileNameOf held as a tagged value.
TaggedValue FileNameOfVariant(const std::wstring& path);

}  // namespace ferryl
