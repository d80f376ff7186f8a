#include "send/copy_step.h"

#include <algorithm>
#include <iterator>

#include "common/system_error_text.h"
#include "common/text.h"
#include "common/unique_handle.h"
#include "core/copy_naming.h"
#include "core/path_rules.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

// How many names past a taken one are tried when files keep appearing under the next names.
constexpr int kRaceRetries = 1000;

// A file or a folder of the name takes it.
bool Taken(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<uint64_t> FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Removes a copy this step began and did not finish. It carries its source's attributes from its
// start, so a read-only source makes it read-only: that goes first.
void RemoveOwnCopy(const std::wstring& path) noexcept {
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
}

struct ChunkReport {
    const StepProgress& progress;
    const std::wstring& source;
    uint64_t before, size, total;
    bool cancelled = false;
    std::optional<FailureRecord> thrown;
};

// CopyFileExW's progress routine: after each chunk. (Wine's CopyFileExW calls none: its copies
// report once each file is done.)
DWORD CALLBACK OnChunk(LARGE_INTEGER,
                       LARGE_INTEGER transferred,
                       LARGE_INTEGER,
                       LARGE_INTEGER,
                       DWORD,
                       DWORD,
                       HANDLE,
                       HANDLE,
                       LPVOID data) noexcept {
    auto& report = *static_cast<ChunkReport*>(data);
    try {
        // Other streams of the file count too; the bar goes by the main one.
        const uint64_t done = std::min(static_cast<uint64_t>(transferred.QuadPart), report.size);
        if (report.progress(report.before + done, report.total, report.source))
            return PROGRESS_CONTINUE;
        report.cancelled = true;
    } catch (...) {
        report.thrown = RecordCaughtFailure(L"CopyStep: progress");
    }
    return PROGRESS_CANCEL;
}

}  // namespace

CopyStep::CopyStep(std::vector<CopyRequest> requests, bool deleteSource)
    : m_requests(std::move(requests)), m_deleteSource(deleteSource), m_records(m_requests.size()) {}

StepStatus CopyStep::Run(const StepProgress& progress) {
    uint64_t total = 0;
    for (const CopyRequest& request : m_requests) {
        if (!request.sameAs)
            total += FileSize(request.source).value_or(0);
    }
    uint64_t before = 0;
    for (size_t index = 0; index < m_requests.size(); ++index) {
        if (const std::optional<size_t> earlier = m_requests[index].sameAs) {
            m_records[index] = m_records[*earlier];
            continue;
        }
        const StepStatus status = CopyOne(index, before, total, progress);
        if (status != StepStatus::Done)
            return status;
        before += FileSize(m_records[index].copy).value_or(0);
    }
    return StepStatus::Done;
}

StepStatus CopyStep::CopyOne(size_t index, uint64_t before, uint64_t total, const StepProgress& progress) {
    const CopyRequest& request = m_requests[index];
    const auto fail = [&](const std::wstring& target, std::wstring reason) {
        m_failure = CopyFailure{request.source, target, std::move(reason)};
        return StepStatus::Failed;
    };
    const std::optional<uint64_t> size = FileSize(request.source);
    if (!size)
        return fail(request.target, SystemErrorText(::GetLastError()));
    if (!progress(before, total, request.source))
        return StepStatus::Cancelled;
    const std::wstring folder = FolderOf(request.target);
    std::wstring target = request.target;
    bool copied = false;
    for (int attempt = 0, number = 1; attempt < kRaceRetries && !copied; ++attempt) {
        if (attempt > 0)
            target = folder + NumberedName(request.name, ++number);
        // A name found free is this copy's from here on: the copy fails rather than replace a file
        // that appears meanwhile, so whatever is under the name after a failure was made by it.
        if (Taken(target))
            continue;
        ChunkReport report{progress, request.source, before, *size, total, false, std::nullopt};
        if (::CopyFileExW(request.source.c_str(), target.c_str(), OnChunk, &report, nullptr,
                          COPY_FILE_FAIL_IF_EXISTS)) {
            copied = true;
            break;
        }
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            continue;
        RemoveOwnCopy(target);
        if (report.thrown)
            return fail(target, report.thrown->description);
        if (report.cancelled)
            return StepStatus::Cancelled;
        return fail(target, SystemErrorText(error));
    }
    if (!copied)
        return fail(request.target, L"Every name tried in the folder was taken.");
    // A copy cut short without an error (a file that shrank or grew meanwhile, a file system that
    // lost the end) is not the file.
    const std::optional<uint64_t> copySize = FileSize(target), sourceSize = FileSize(request.source);
    if (!copySize || copySize != sourceSize) {
        RemoveOwnCopy(target);
        return fail(target, L"The copy came out at " + std::to_wstring(copySize.value_or(0)) +
                                L" bytes, the file has " + std::to_wstring(sourceSize.value_or(0)) +
                                L": it changed while it was copied, or the copy was cut short.");
    }
    // A cancel that came while the file was copied counts for it, even where the copy could not
    // stop part way: the file stays where it was, and its copy goes.
    if (!progress(before + *copySize, total, request.source)) {
        RemoveOwnCopy(target);
        return StepStatus::Cancelled;
    }
    CopyRecord& record = m_records[index];
    record.copy = target;
    record.state = CopyRecord::State::Copied;
    if (m_deleteSource) {
        if (::DeleteFileW(request.source.c_str())) {
            record.state = CopyRecord::State::Moved;
        } else {
            record.state = CopyRecord::State::SourceKept;
            record.reason = SystemErrorText(::GetLastError());
        }
    }
    return StepStatus::Done;
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

}  // namespace ferryl
