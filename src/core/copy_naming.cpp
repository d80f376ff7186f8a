#include "core/copy_naming.h"

namespace ferryl {

std::wstring NumberedName(std::wstring_view fileName, int number) {
    if (number <= 1)
        return std::wstring(fileName);
    size_t dot = fileName.rfind(L'.');
    if (dot == std::wstring_view::npos || dot == 0)
        dot = fileName.size();
    std::wstring name(fileName.substr(0, dot));
    name += L" (" + std::to_wstring(number) + L")";
    name += fileName.substr(dot);
    return name;
}

}  // namespace ferryl
