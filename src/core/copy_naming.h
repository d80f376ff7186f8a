#pragma once
// The rules of Copy To that need no system calls: the names a copy may take.

#include <string>
#include <string_view>

namespace ferryl {

// The name of the number-th file of one name in a folder, as Explorer names them when it keeps
// both: the name itself for 1 (or less), else " (number)" before the extension, so that the copy
// still opens with its program ("Quarterly report (2).docx"). The extension starts at the last
// dot; a name whose only dot leads it (".profile") has none.
std::wstring NumberedName(std::wstring_view fileName, int number);

}  // namespace ferryl
