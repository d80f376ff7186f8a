#include "settings/funkcije.h"

#include <windows.h>

#include "common/unique_handle.h"

namespace ferryl {

namespace {

// Walks the entries a directory search finds and returns true at the first one the filter takes.
template <typename Filter>
bool SearchFinds(const std::wstring& path, Filter accept) {
    WIN32_FIND_DATAW entry;
    UniqueFind search(::FindFirstFileW(SearchPatternFor(path).c_str(), &entry));
    if (!search)
        return false;
    do {
        if (accept(entry))
            return true;
    } while (::FindNextFileW(search.get(), &entry));
    return false;
}

}  // namespace

bool FileExists(const std::wstring& path) {
    if (!IsFullFilePath(path))
        return false;
    return SearchFinds(
        path, [](const WIN32_FIND_DATAW& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0; });
}

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::wstring& path) {
    if (path.size() < 3)
        return false;
    if (SearchFinds(path, [](const WIN32_FIND_DATAW&) { return true; }))
        return true;
    // A search cannot name a share's root ("\\server\share"); its attributes can.
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring FullPathName(const std::wstring& path) {
    // One call for the usual length: the intake makes the full path of every listed row.
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, buffer.data(), nullptr);
    if (length >= MAX_PATH) {
        buffer.resize(length);
        length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (length >= buffer.size())
            return path;
    }
    if (length == 0)
        return path;
    buffer.resize(length);
    return buffer;
}

std::wstring ShortPathName(const std::wstring& path) {
    constexpr DWORD kBufferLength = 1024;
    std::wstring buffer(kBufferLength, L'\0');
    DWORD length = ::GetShortPathNameW(path.c_str(), buffer.data(), kBufferLength);
    if (length == 0 || length >= kBufferLength)
        return {};
    buffer.resize(length);
    return buffer;
}

std::wstring LongPathName(const std::wstring& path) {
    const DWORD length = ::GetLongPathNameW(path.c_str(), nullptr, 0);
    if (length == 0)
        return path;
    std::wstring buffer(length, L'\0');
    const DWORD written = ::GetLongPathNameW(path.c_str(), buffer.data(), length);
    if (written == 0 || written >= length)
        return path;
    buffer.resize(written);
    return buffer;
}

TaggedValue FileNameOfVariant(const std::wstring& path) {
    return TaggedValue(FileNameOf(path));
}

}  // namespace ferryl
