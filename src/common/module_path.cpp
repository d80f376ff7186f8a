#include "common/module_path.h"

namespace ferryl {

std::wstring ModulePath(HMODULE module) {
    // Paths may be longer than MAX_PATH; the call says so by filling the whole buffer.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ProgramPath() {
    return ModulePath();
}

std::wstring ProgramFolder() {
    std::wstring path = ModulePath();
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace ferryl
