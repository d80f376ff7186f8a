#include "core/copy_naming.h"

namespace ferryl {

std::wstring CopyTargetPath(std::wstring_view folder, std::wstring_view fileName, long counter) {
    std::wstring path(folder);
    path += fileName;
    if (counter != 0)
        path += L"." + std::to_wstring(counter);
    return path;
}

}  // namespace ferryl
