#include "core/about_text.h"

namespace ferryl {

std::wstring AboutText(const ProgramVersion& version) {
    // The build number is not shown: file version 1.2.0.1 reads "1.2.1".
    return L"Ferryl Handler\r\nVersion: " + std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) +
           L"." + std::to_wstring(version.revision) + L"\r\n";
}

}  // namespace ferryl
