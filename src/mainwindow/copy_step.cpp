#include "mainwindow/copy_step.h"

#include <windows.h>

#include <optional>

#include "common/text.h"
#include "common/unique_handle.h"
#include "core/copy_naming.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

// How many names past a taken one are tried when files keep appearing under the next names.
constexpr int kRaceRetries = 1000;

}  // namespace

CopyOutcome CopyToFolder(const std::wstring& source, const std::wstring& folder, long& counter, bool deleteSource) {
    if (!FolderExists(folder))
        return {CopyOutcome::Status::FolderMissing, {}};
    const std::wstring name = FileNameOf(source);
    // A folder of the same name takes the name as surely as a file does.
    auto taken = [](const std::wstring& path) {
        return FileExists(path) || ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    std::wstring target = CopyTargetPath(folder, name, 0);
    while (taken(target))
        target = CopyTargetPath(folder, name, ++counter);
    for (int attempt = 0; attempt < kRaceRetries; ++attempt) {
        // bFailIfExists: the existence test above misses network paths, and a file may appear
        // between the test and the copy; neither may be overwritten.
        if (::CopyFileW(source.c_str(), target.c_str(), TRUE)) {
            const bool deleted = deleteSource && ::DeleteFileW(source.c_str());
            return {CopyOutcome::Status::Copied, target, deleted};
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
        target = CopyTargetPath(folder, name, ++counter);
    }
    return {CopyOutcome::Status::CopyFailed, {}};
}

namespace {

struct FolderIdentity {
    DWORD volume = 0;
    ULONGLONG index = 0;
    bool operator==(const FolderIdentity&) const = default;
};

std::optional<FolderIdentity> IdentityOf(const std::wstring& folder) {
    // FILE_FLAG_BACKUP_SEMANTICS opens a folder; no access right is needed to read its identity.
    UniqueFile handle(::CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle || !::GetFileInformationByHandle(handle.get(), &info))
        return std::nullopt;
    return FolderIdentity{info.dwVolumeSerialNumber,
                          (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length)
        return path;
    full.resize(written);
    return full;
}

}  // namespace

bool LiesInFolder(const std::wstring& file, const std::wstring& folder) {
    const size_t slash = file.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return false;
    const std::optional<FolderIdentity> own = IdentityOf(file.substr(0, slash + 1));
    return own && own == IdentityOf(folder);
}

std::wstring SameFileKey(const std::wstring& path) {
    return ToUpper(LongPathName(FullPath(path)));
}

}  // namespace ferryl
