#include "app/handoff_spool.h"

#include <windows.h>

#include <algorithm>

#include "app/intake.h"
#include "common/continue_on_error.h"
#include "common/day_old.h"
#include "common/error.h"
#include "common/unique_handle.h"
#include "core/handoff_spool_file.h"

namespace ferryl {

namespace {

// A partial file older than this was left by a writer that was ended; no whole handoff is in it.

[[noreturn]] void Fail(const wchar_t* what) {
    throw Error(static_cast<long>(::GetLastError()), ErrorSource(L"HandoffSpool"), what);
}

std::wstring EnvironmentValue(const wchar_t* name) {
    std::wstring value(MAX_PATH, L'\0');
    DWORD length = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length >= value.size()) {
        value.resize(length);
        length = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    }
    value.resize(length < value.size() ? length : 0);
    return value;
}

unsigned long ThisSession() {
    DWORD session = 0;
    ::ProcessIdToSessionId(::GetCurrentProcessId(), &session);
    return session;
}

ULONGLONG Now() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

void MakeSpoolFolder(const std::wstring& folder) {
    // Its parent first: "Ferryl Handler" is new on a first use.
    ::CreateDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str(), nullptr);
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        Fail(L"The spool folder cannot be made");
}

// Writes a new file; `made` names it once it exists, for the caller to remove should this fail.
void WriteNewFile(const std::wstring& path, const std::string& bytes, std::wstring& made) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        Fail(L"A spool file cannot be made");
    made = path;
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        Fail(L"A spool file cannot be written");
    // On the disk before it is renamed: a rename that outlives a power cut names a whole file.
    if (!::FlushFileBuffers(file.get()))
        Fail(L"A spool file cannot be written");
}

// The names of the session's kept handoffs, oldest first.
std::vector<std::wstring> KeptHandoffNames(const std::wstring& folder, unsigned long session) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    UniqueFind search(::FindFirstFileExW((folder + L"\\" + SpoolFilePattern(session)).c_str(), FindExInfoBasic, &entry,
                                         FindExSearchNameMatch, nullptr, 0));
    if (!search)
        return names;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsSpoolFileName(entry.cFileName, session))
            names.emplace_back(entry.cFileName);
    } while (::FindNextFileW(search.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadWhole(HANDLE file) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size))
        Fail(L"A spool file cannot be read");
    if (size.QuadPart > static_cast<LONGLONG>(kSpoolFileMaxBytes))
        throw Error(kErrTypeMismatch, ErrorSource(L"HandoffSpool"), L"Not a handoff: too large");
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
        Fail(L"A spool file cannot be read");
    return bytes;
}

long TakeInKeptHandoff(const std::wstring& path, FileListTarget& target) {
    // For this process alone until it is gone: a second receiver (or a nested take-in) passes it by.
    UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_FILE_NOT_FOUND)
            return 0;  // another receiver has it
        Fail(L"A spool file cannot be opened");
    }
    const std::optional<std::vector<std::wstring>> paths = DecodeSpoolFile(ReadWhole(file.get()));
    if (!paths)
        throw Error(kErrTypeMismatch, ErrorSource(L"HandoffSpool"), L"Not a whole handoff: " + path);
    std::vector<std::wstring> notListed;
    const long added = AddPathsToList(*paths, target, &notListed);
    // What the list could not take is kept anew before this file goes; when it cannot be, this one
    // stays whole, and the paths listed now are listed once again at most, which one row holds.
    if (!notListed.empty() && !KeepHandoff(notListed))
        return added;
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition))
        Fail(L"A spool file cannot be removed");
    return added;
}

void RemoveStalePartials(const std::wstring& folder) {
    ForEachDayOldEntry(
        folder + L"\\" + kPartialSpoolFilePattern, [](const WIN32_FIND_DATAW&) { return true; },
        [](const std::wstring& path) { ::DeleteFileW(path.c_str()); });
}

}  // namespace

std::wstring SpoolFolder() {
    std::wstring base = EnvironmentValue(L"LOCALAPPDATA");
    if (base.empty()) {
        wchar_t temp[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
        base.assign(temp, length <= MAX_PATH ? length : 0);
    }
    while (!base.empty() && base.back() == L'\\')
        base.pop_back();
    return base + L"\\Ferryl Handler\\Handoff";
}

bool KeepHandoff(const std::vector<std::wstring>& paths) noexcept {
    static unsigned long count = 0;  // apart the files one process keeps within one tick
    std::wstring partial;
    const bool kept = ContinueOnError(L"KeepHandoff", [&] {
        const std::wstring folder = SpoolFolder();
        MakeSpoolFolder(folder);
        const std::wstring name =
            folder + L"\\" + SpoolFileName(ThisSession(), Now(), ::GetCurrentProcessId(), count++);
        WriteNewFile(PartialSpoolFileName(name), EncodeSpoolFile(paths), partial);
        if (!::MoveFileExW(partial.c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH))
            Fail(L"A spool file cannot be renamed");
    });
    if (!kept && !partial.empty())
        ::DeleteFileW(partial.c_str());
    return kept;
}

long TakeInKeptHandoffs(FileListTarget& target) noexcept {
    const unsigned long session = ThisSession();
    std::wstring folder;
    std::vector<std::wstring> names;
    ContinueOnError(L"TakeInKeptHandoffs: folder", [&] {
        folder = SpoolFolder();
        names = KeptHandoffNames(folder, session);
    });
    long added = 0;
    for (const std::wstring& name : names)
        ContinueOnError(L"TakeInKeptHandoffs: file",
                        [&] { added += TakeInKeptHandoff(folder + L"\\" + name, target); });
    return added;
}

void RemoveStaleSpoolPartials() noexcept {
    ContinueOnError(L"RemoveStaleSpoolPartials", [] { RemoveStalePartials(SpoolFolder()); });
}

}  // namespace ferryl
