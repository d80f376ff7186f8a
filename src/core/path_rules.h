#pragma once
// The path rules of the file helpers, free of system calls so they can be tested on their own.

#include <string>
#include <string_view>

namespace ferryl {

// A full path the program accepts as a file: a drive path with a name ("C:\a" and longer) or a
// network path ("\\server\share\...", at least five characters). Relative paths, bare names and a
// drive's root are not.
bool IsFullFilePath(std::wstring_view path);

// The pattern a directory search uses for a path: a folder path ending in "\" searches the folder's
// entries, anything else searches for itself.
std::wstring SearchPatternFor(std::wstring_view path);

// The text after the last "\", the whole path when it has none, empty for a path ending in "\".
std::wstring FileNameOf(std::wstring_view path);

// The folder's path ending in one "\", for a name to follow.
std::wstring WithBackslash(std::wstring folder);

// The text up to and with the last "\" (a file's folder), empty when it has none.
std::wstring FolderOf(std::wstring_view path);

}  // namespace ferryl
