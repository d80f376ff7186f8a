#include "support/temp_folder.h"

#include <algorithm>
#include <stdexcept>

#include "common/unique_handle.h"

namespace ferryl::test {

namespace {

std::wstring MakeFolderIn(const std::wstring& base) {
    for (unsigned attempt = 0;; ++attempt) {
        std::wstring candidate = base + L"ferryl-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(::GetTickCount() + attempt);
        if (::CreateDirectoryW(candidate.c_str(), nullptr))
            return candidate;
        if (attempt > 1000)
            throw std::runtime_error("cannot create a temporary folder");
    }
}

// Removes a folder and everything in it, entry by entry, through extended-length paths so that a
// tree deeper than MAX_PATH goes too. (Wine's SHFileOperation, meeting such a path inside the
// tree, deletes the current folder's tree instead.) A link to a folder is removed, not followed.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileW(path.c_str());
            else if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                ::RemoveDirectoryW(path.c_str());
            else
                RemoveTree(path);
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

std::wstring ExtendedLength(const std::wstring& path) {
    if (path.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

// Under Wine the "\\?\unix\..." form of a Windows path, through Wine's own export; empty elsewhere.
std::wstring UnixForm(const std::wstring& path) {
    using UnixFileNameFn = char*(CDECL*)(const wchar_t*);
    const auto unixFileName = reinterpret_cast<UnixFileNameFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixPath = unixFileName ? unixFileName(path.c_str()) : nullptr;
    if (!unixPath)
        return {};
    std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, wide.data(), static_cast<int>(wide.size()));
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    wide.pop_back();
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return L"\\\\?\\unix" + wide;
}

}  // namespace

TempFolder::TempFolder(OnNetworkShare) {
    std::wstring folder = UnixForm(L"C:\\");
    if (folder.empty()) {
        // Windows itself: the temporary folder through the drive's administrative share.
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_path = MakeFolderIn(L"\\\\localhost\\" + std::wstring(1, temp[0]) + L"$" + std::wstring(temp + 2));
        return;
    }
    // dosdevices is the parent of the C: drive's link.
    folder.resize(folder.find_last_of(L'\\', folder.size() - 2) + 1);
    for (const wchar_t* part : {L"unc", L"\\ferryl-server", L"\\share"})
        ::CreateDirectoryW((folder += part).c_str(), nullptr);
    m_path = MakeFolderIn(L"\\\\ferryl-server\\share\\");
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, base);
    m_path = MakeFolderIn(base);
}

TempFolder::~TempFolder() {
    if (!m_path.empty())
        RemoveTree(ExtendedLength(m_path));
}

bool WriteFileBytes(const std::wstring& path, std::string_view bytes, DWORD disposition) {
    UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring TempFolder::WriteFile(std::wstring_view name, std::string_view bytes) const {
    std::wstring path = *this / name;
    if (!WriteFileBytes(path, bytes))
        throw std::runtime_error("cannot create a test file");
    return path;
}

std::wstring TempFolder::MakeFolder(std::wstring_view name) const {
    std::wstring path = *this / name;
    ::CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

std::wstring TempFolder::WriteFileOfOtherCase(std::wstring_view name, std::string_view bytes) const {
    const std::wstring folder = UnixForm(m_path);
    if (folder.empty())
        return {};
    return WriteFileBytes(folder + L"\\" + std::wstring(name), bytes, CREATE_NEW) ? *this / name : std::wstring();
}

bool SetModifiedTime(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    const SYSTEMTIME local{year, month, 0, day, hour, minute, 0, 0};
    SYSTEMTIME utc{};
    FILETIME time{};
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !::SystemTimeToFileTime(&utc, &time))
        return false;
    UniqueFile file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && ::SetFileTime(file.get(), nullptr, nullptr, &time);
}

std::string ReadFileBytes(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

}  // namespace ferryl::test
