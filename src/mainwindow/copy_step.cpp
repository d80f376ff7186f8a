#include "mainwindow/copy_step.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

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

// FILE_ID_INFO and its class, which the headers declare only for Windows 8 on.
struct FileIdInfo128 {
    ULONGLONG VolumeSerialNumber;
    unsigned char Identifier[16];
};
constexpr auto kFileIdInfo = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);

std::wstring Hex(const unsigned char* bytes, size_t count) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text;
    for (size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

template <typename Number>
std::wstring Hex(Number value) {
    unsigned char bytes[sizeof(Number)];
    for (size_t i = 0; i < sizeof(Number); ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * (sizeof(Number) - 1 - i)));
    return Hex(bytes, sizeof bytes);
}

FileIds ReadFileIds(const std::wstring& path) {
    FileIds ids;
    // FILE_FLAG_BACKUP_SEMANTICS opens a folder too; no access right is needed to read the ids.
    UniqueFile handle(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle)
        return ids;
    FileIdInfo128 id{};
    if (::GetFileInformationByHandleEx(handle.get(), kFileIdInfo, &id, sizeof id)) {
        ids.has128 = true;
        ids.volume128 = id.VolumeSerialNumber;
        std::copy(std::begin(id.Identifier), std::end(id.Identifier), ids.id128);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(handle.get(), &info)) {
        ids.has64 = true;
        ids.volume64 = info.dwVolumeSerialNumber;
        ids.index64 = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    return ids;
}

// A folder's path without its closing "\" (a drive's root keeps it), as a file's folder is cut.
std::wstring WithoutClosingBackslash(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

}  // namespace

std::wstring IdentityKey(const FileIds& ids, std::wstring_view fullLongPath) {
    if (ids.has128 && std::any_of(std::begin(ids.id128), std::end(ids.id128), [](unsigned char b) { return b != 0; }))
        return L"id128:" + Hex(ids.volume128) + L":" + Hex(ids.id128, sizeof ids.id128);
    if (ids.has64 && ids.index64 != 0)
        return L"id64:" + Hex(ids.volume64) + L":" + Hex(ids.index64);
    return L"path:" + ToUpper(fullLongPath);
}

std::wstring FileIdentityKey(const std::wstring& path) {
    return IdentityKey(ReadFileIds(path), WithoutClosingBackslash(LongPathName(FullPathName(path))));
}

bool LiesInFolder(const std::wstring& file, const std::wstring& folder) {
    const size_t slash = file.find_last_of(L'\\');
    // A missing folder is CopyToFolder's to report.
    if (slash == std::wstring::npos || !FolderExists(folder))
        return false;
    return FileIdentityKey(file.substr(0, slash + 1)) == FileIdentityKey(folder);
}

}  // namespace ferryl
