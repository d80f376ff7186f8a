#include "mail/draft_file.h"

#include <windows.h>

#include "common/continue_on_error.h"
#include "common/day_old.h"
#include "common/system_error_text.h"
#include "common/unique_handle.h"
#include "core/mime_draft.h"
#include "core/path_rules.h"

namespace ferryl {

namespace {

constexpr DWORD kReadChunk = 192 * 1024;
constexpr size_t kWriteChunk = 256 * 1024;
constexpr int kNameAttempts = 100;

uint64_t UniqueSeed() {
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    return (static_cast<uint64_t>(::GetCurrentProcessId()) << 40) ^ static_cast<uint64_t>(counter.QuadPart) ^
           (::GetTickCount64() << 20);
}

std::string DateNow() {
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    return Rfc5322Date({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wDayOfWeek});
}

class DraftWriter {
  public:
    explicit DraftWriter(HANDLE file) : m_file(file) {}

    bool Write(std::string& text, bool all) {
        if (text.size() < kWriteChunk && !all)
            return true;
        DWORD written = 0;
        if (!::WriteFile(m_file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
            m_error = ::GetLastError();
        else if (written != text.size())
            m_error = ERROR_DISK_FULL;  // a short write reports no error of its own
        text.clear();
        return m_error == ERROR_SUCCESS;
    }
    // Why the last write failed.
    DWORD Error() const { return m_error; }

  private:
    HANDLE m_file;
    DWORD m_error = ERROR_SUCCESS;
};

// Appends one file's part; the failure in words, or empty.
std::wstring AppendFile(const std::wstring& path, MimeDraftWriter& message, std::string& pending, DraftWriter& writer) {
    UniqueFile source(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source)
        return L"The file \"" + path + L"\" cannot be read.\n\n" + SystemErrorText(::GetLastError());
    message.StartFile(pending);
    std::string chunk(kReadChunk, '\0');
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(source.get(), chunk.data(), kReadChunk, &read, nullptr))
            return L"The file \"" + path + L"\" cannot be read.\n\n" + SystemErrorText(::GetLastError());
        if (read == 0)
            return {};
        message.Append(std::string_view(chunk.data(), read), pending);
        if (!writer.Write(pending, false))
            return L"The draft message cannot be written.\n\n" + SystemErrorText(writer.Error());
    }
}

}  // namespace

DraftOutcome WriteDraftFile(const std::wstring& folder, const std::vector<std::wstring>& files) {
    // "\\" and a name would put the draft at the root of the current drive.
    if (folder.empty())
        return {{},
                L"The draft message for the new Outlook cannot be written: the system named no temporary "
                L"folder when Ferryl Handler started.\n\nSend the files through another mail program."};
    const uint64_t seed = UniqueSeed();
    const std::wstring base = WithBackslash(folder);
    std::wstring path;
    UniqueFile draft;
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < kNameAttempts && !draft && error == ERROR_FILE_EXISTS; ++attempt) {
        path = base + DraftFileName(seed + static_cast<uint64_t>(attempt));
        draft.reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        error = draft ? ERROR_SUCCESS : ::GetLastError();
    }
    if (!draft)
        return {{}, L"The draft message cannot be written to \"" + folder + L"\".\n\n" + SystemErrorText(error)};

    std::vector<std::wstring> names;
    for (const std::wstring& file : files)
        names.push_back(FileNameOf(file));
    std::string pending;
    MimeDraftWriter message(names, DateNow(), seed, pending);
    DraftWriter writer(draft.get());
    std::wstring failure;
    for (size_t i = 0; i < files.size() && failure.empty(); ++i)
        failure = AppendFile(files[i], message, pending, writer);
    if (failure.empty()) {
        message.Finish(pending);
        if (!writer.Write(pending, true))
            failure = L"The draft message cannot be written.\n\n" + SystemErrorText(writer.Error());
    }
    draft.reset();
    if (!failure.empty()) {
        ::DeleteFileW(path.c_str());
        return {{}, failure};
    }
    return {path, {}};
}

void RemoveOldDrafts(const std::wstring& folder) noexcept {
    if (folder.empty())
        return;
    ContinueOnError(L"RemoveOldDrafts", [&] {
        ForEachDayOldEntry(
            WithBackslash(folder) + DraftFilePattern(),
            [](const WIN32_FIND_DATAW& entry) {
                return !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsDraftFileName(entry.cFileName);
            },
            [](const std::wstring& path) { ::DeleteFileW(path.c_str()); });
    });
}

}  // namespace ferryl
