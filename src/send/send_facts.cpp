#include "send/send_facts.h"

#include <windows.h>

#include <cstdio>

#include "common/system_error_text.h"
#include "common/text.h"
#include "core/copy_naming.h"
#include "core/path_rules.h"
#include "send/copy_step.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

bool InAnsi(const std::wstring& text) {
    return ToAnsiExact(text).has_value();
}

// How many numbered names are tried for a fresh folder before giving up.
constexpr int kFolderNumbers = 100;

}  // namespace

std::vector<ListedFile> ReadListedFiles(const std::vector<std::wstring>& paths, const std::wstring* copyFolder) {
    const std::wstring folderKey = copyFolder ? FileIdentityKey(*copyFolder) : std::wstring();
    std::vector<ListedFile> files;
    for (const std::wstring& path : paths) {
        ListedFile file;
        WIN32_FILE_ATTRIBUTE_DATA data{};
        file.exists = ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
                      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        file.path = path;
        if (file.exists) {
            file.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            // The real name: the shell may have listed the 8.3 one, and a copy is named after it.
            file.path = LongPathName(path);
            const std::wstring shortPath = ShortPathName(path);
            file.ansiShortPath = !shortPath.empty() && InAnsi(shortPath);
            if (copyFolder) {
                file.identity = FileIdentityKey(path);
                file.inFolder = FileIdentityKey(FolderOf(path)) == folderKey;
            }
        }
        file.ansiPath = InAnsi(file.path);
        file.ansiName = InAnsi(FileNameOf(file.path));
        files.push_back(std::move(file));
    }
    return files;
}

CopyDestination ReadCopyDestination(const std::wstring& folder, bool fresh) {
    CopyDestination to;
    to.folder = folder;
    to.fresh = fresh;
    to.ansiFolder = InAnsi(folder);
    const std::wstring shortFolder = ShortPathName(folder);
    to.ansiShortFolder = !shortFolder.empty() && InAnsi(shortFolder);
    to.taken = [folder](const std::wstring& name) {
        return ::GetFileAttributesW((folder + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    return to;
}

bool IsSameFolder(const std::wstring& folder, const std::wstring& other) {
    return FolderExists(folder) && FolderExists(other) && FileIdentityKey(folder) == FileIdentityKey(other);
}

FreshFolder MakeFreshFolder(const std::wstring& parent) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    wchar_t name[64]{};
    std::swprintf(name, 64, L"Ferryl %04u-%02u-%02u %02u-%02u-%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    DWORD error = ERROR_ALREADY_EXISTS;
    for (int number = 1; number <= kFolderNumbers && error == ERROR_ALREADY_EXISTS; ++number) {
        const std::wstring path = parent + NumberedName(name, number);
        if (::CreateDirectoryW(path.c_str(), nullptr))
            return {path + L"\\", {}};
        error = ::GetLastError();
    }
    return {{}, L"A folder for the copies could not be made in \"" + parent + L"\".\n\n" + SystemErrorText(error)};
}

}  // namespace ferryl
