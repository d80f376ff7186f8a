#include "core/path_rules.h"

namespace ferryl {

bool IsFullFilePath(std::wstring_view path) {
    // "X:\a": a drive, its root and a one-character name.
    if (path.size() >= 4 && path.substr(1, 2) == L":\\")
        return true;
    return path.size() >= 5 && path.substr(0, 2) == L"\\\\";
}

std::wstring SearchPatternFor(std::wstring_view path) {
    std::wstring pattern(path);
    if (!pattern.empty() && pattern.back() == L'\\')
        pattern += L'*';
    return pattern;
}

std::wstring FileNameOf(std::wstring_view path) {
    size_t slash = path.rfind(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::wstring WithBackslash(std::wstring folder) {
    if (!folder.ends_with(L'\\'))
        folder += L'\\';
    return folder;
}

std::wstring FolderOf(std::wstring_view path) {
    const size_t slash = path.rfind(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? std::wstring_view() : path.substr(0, slash + 1));
}

}  // namespace ferryl
