#include "mainwindow/version_info.h"

#include "common/module_path.h"

#include <string>
#include <vector>

namespace ferryl {

std::optional<ProgramVersion> ReadModuleVersion(HMODULE module) {
    const std::wstring path = ModulePath(module);
    return path.empty() ? std::nullopt : ReadFileVersion(path);
}

std::optional<ProgramVersion> ReadFileVersion(const std::wstring& path) {
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof *info)
        return std::nullopt;
    return ProgramVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
                          LOWORD(info->dwFileVersionLS)};
}

}  // namespace ferryl
