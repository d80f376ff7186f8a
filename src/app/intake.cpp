#include "app/intake.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string_view>
#include <vector>

#include "app/file_entry.h"
#include "common/continue_on_error.h"
#include "common/text.h"
#include "core/command_line.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";

// A token Explorer never hands over is skipped before the file system sees it: a wildcard (* ?, and
// the DOS forms < > " that FindFirstFileW also expands) or a trailing "\" made any search for it a
// walk through a folder, which a hostile handoff could repeat thousands of times; a NUL would cut
// the path the system sees, so a different file would be found; and a ":" past the drive's names a
// stream or a device.
bool CannotNameFile(std::wstring_view token) {
    constexpr std::wstring_view kNeverInName{L"*?<>\"\0", 6};
    if (token.empty() || token.back() == L'\\')
        return true;
    if (token.starts_with(kLongPrefix))
        token.remove_prefix(kLongPrefix.size());
    if (token.find_first_of(kNeverInName) != std::wstring_view::npos)
        return true;
    const size_t colon = token.find(L':');
    return colon != std::wstring_view::npos && (colon != 1 || token.find(L':', colon + 1) != std::wstring_view::npos);
}

// The path a file is listed under: the full path the system opens for the text ("." and ".."
// resolved, the trailing blanks and dots of the name gone, such as the blank the re-join leaves
// where the shell's command line had two), with 8.3 parts in their long form. The row shows this
// rather than the text as given, so that the name column, Copy To and the mail program all get the
// file's real name. A "\\?\" path is taken literally by the system and stays as it is.
std::wstring ListedForm(const std::wstring& path) {
    if (path.starts_with(kLongPrefix))
        return path;
    std::wstring full = FullPathName(path);
    // A short name the system made holds "~"; every other path is spared the look-up of each part.
    if (full.find(L'~') != std::wstring::npos)
        full = LongPathName(full);
    return full;
}

// The duplicate test's key of a path in its listed form: without a "\\?\" prefix
// ("\\?\UNC\server" is "\\server"), in upper case.
std::wstring KeyOfListed(std::wstring key) {
    if (key.starts_with(kLongPrefix)) {
        const bool unc = std::wstring_view(key).substr(kLongPrefix.size()).starts_with(L"UNC\\");
        key.replace(0, kLongPrefix.size() + (unc ? 4 : 0), unc ? L"\\\\" : L"");
    }
    MakeUpper(key);
    return key;
}

// The key of a row's path, which the main window's Add may have written in another form.
std::wstring DuplicateKey(const std::wstring& path) {
    return KeyOfListed(ListedForm(path));
}

// A device ("\\.\CON", which GetFullPathNameW makes of "C:\x\CON", or "\\?\GLOBALROOT\...") answers
// GetFileAttributesExW like a file but is none.
bool NamesDevice(std::wstring_view listed) {
    if (listed.starts_with(L"\\\\.\\"))
        return true;
    if (!listed.starts_with(kLongPrefix))
        return false;
    listed.remove_prefix(kLongPrefix.size());
    return !listed.starts_with(L"UNC\\") && listed.substr(1, 2) != L":\\";
}

// The listed paths for the duplicate test: the hash of each one's key beside the row that holds
// it, sorted by hash. Read from the list once per command line rather than once per file (a long
// list made every new file a pass over all of its rows), and no text is kept per row. Read again
// when the list changed under the intake (a nested intake run by a message the system dispatched
// meanwhile).
class ListedPaths {
  public:
    explicit ListedPaths(FileListTarget& target) : m_target(target) {}

    bool Contains(const std::wstring& key) {
        Refresh();
        const auto [first, last] = std::equal_range(m_entries.begin(), m_entries.end(), Entry{Hash(key), 0});
        // A hash is confirmed against the row's own text.
        return std::any_of(first, last, [&](const Entry& entry) {
            return DuplicateKey(m_target.CellText(entry.row, kColumnPath)) == key;
        });
    }
    // A new last row holds the path.
    void Added(const std::wstring& key, long row) {
        const Entry entry{Hash(key), row};
        m_entries.insert(std::upper_bound(m_entries.begin(), m_entries.end(), entry), entry);
        m_rows = row;
    }

  private:
    struct Entry {
        size_t hash;
        long row;
        bool operator<(const Entry& other) const { return hash < other.hash; }
    };

    static size_t Hash(std::wstring_view key) { return std::hash<std::wstring_view>{}(key); }

    void Refresh() {
        const long rows = m_target.Rows();
        if (m_read && rows == m_rows)
            return;
        m_entries.clear();
        m_entries.reserve(static_cast<size_t>(rows));
        for (long row = 1; row <= rows; ++row)
            m_entries.push_back(Entry{Hash(DuplicateKey(m_target.CellText(row, kColumnPath))), row});
        std::sort(m_entries.begin(), m_entries.end());
        m_rows = rows;
        m_read = true;
    }

    FileListTarget& m_target;
    std::vector<Entry> m_entries;
    long m_rows = 0;
    bool m_read = false;
};

// Whether the file was left out because the list is full.
bool AddFile(const std::wstring& token, FileListTarget& target, ListedPaths& listed) {
    if (CannotNameFile(token) || !IsFullFilePath(token))
        return false;
    const std::wstring path = ListedForm(token);
    if (NamesDevice(path))
        return false;
    const std::wstring key = KeyOfListed(path);
    if (listed.Contains(key))
        return false;
    // A missing file, or a folder, is skipped.
    const std::optional<FileEntry> entry = ReadFileEntry(path, FileNameOfVariant(path));
    if (!entry)
        return false;
    // The row's number is taken first: an intake nested in the add (a message the system
    // dispatched meanwhile) may add rows after it, which the next look-up then reads.
    const long row = target.Rows() + 1;
    if (row > kMaxListRows)
        return true;
    target.AddRow(*entry);
    listed.Added(key, row);
    return false;
}

}  // namespace

long AddFilesToList(std::wstring_view text, FileListTarget& target) noexcept {
    std::vector<std::wstring> paths;
    if (!ContinueOnError(L"AddFilesToList: CommandLinePaths", [&] { paths = CommandLinePaths(text); })) {
        ContinueOnError(L"AddFilesToList: ShowMainWindow", [&] { target.ShowMainWindow(); });
        ContinueOnError(L"AddFilesToList: RestoreMainWindow", [&] { target.RestoreMainWindow(); });
        return 0;
    }
    return AddPathsToList(paths, target);
}

long AddPathsToList(const std::vector<std::wstring>& paths,
                    FileListTarget& target,
                    std::vector<std::wstring>* notListed) noexcept {
    ContinueOnError(L"AddPathsToList: ShowMainWindow", [&] { target.ShowMainWindow(); });
    ContinueOnError(L"AddPathsToList: RestoreMainWindow", [&] { target.RestoreMainWindow(); });
    ListedPaths listed(target);
    long rowsBefore = 0;
    ContinueOnError(L"AddPathsToList: Rows", [&] { rowsBefore = target.Rows(); });
    // One file's failure must not cost the others.
    long listFull = 0;
    for (const std::wstring& path : paths) {
        bool full = false;
        const bool ran = ContinueOnError(L"AddPathsToList: AddFile", [&] { full = AddFile(path, target, listed); });
        listFull += full ? 1 : 0;
        if ((full || !ran) && notListed)
            ContinueOnError(L"AddPathsToList: notListed", [&] { notListed->push_back(path); });
    }
    if (listFull > 0)
        ContinueOnError(L"AddPathsToList: ReportListFull", [&] { target.ReportListFull(listFull); });
    long added = 0;
    ContinueOnError(L"AddPathsToList: Rows", [&] { added = target.Rows() - rowsBefore; });
    if (added <= 0)
        return 0;
    // Once the files are in, not after each: selecting walks every row of the list. Nothing paints
    // in between, so the list shows the same.
    ContinueOnError(L"AddPathsToList: CellSelected", [&] { target.CellSelected(1, 1, true); });
    ContinueOnError(L"AddPathsToList: EnableSendNow", [&] { target.EnableSendNow(); });
    return added;
}

}  // namespace ferryl
