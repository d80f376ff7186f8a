#pragma once
// The rules of Copy To that need no system calls: the names a copy may take.

#include <string>
#include <string_view>

namespace ferryl {

// The path of a copy of fileName in folder (which ends in "\"): the plain name for counter 0,
// otherwise the name followed by "." and the counter ("report.doc.2").
std::wstring CopyTargetPath(std::wstring_view folder, std::wstring_view fileName, long counter);

}  // namespace ferryl
