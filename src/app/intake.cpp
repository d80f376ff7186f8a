#include "app/intake.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "core/command_line.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

constexpr long kColumnName = 1;
constexpr long kColumnDate = 2;
constexpr long kColumnSize = 3;
constexpr long kColumnPath = 4;
constexpr long kAlignRight = 2;

// The listed paths for the duplicate test: the hash of each one's upper-case form beside the row
// that holds it, sorted by hash. Read from the list once per command line rather than once per
// file (a long list made every new file a pass over all of its rows), and no text is kept per
// row. Read again when the list changed under the intake (a nested intake run by a message the
// system dispatched meanwhile).
class ListedPaths {
  public:
    explicit ListedPaths(FileListTarget& target) : m_target(target) {}

    bool Contains(const std::wstring& upperPath) {
        Refresh();
        const auto [first, last] = std::equal_range(m_entries.begin(), m_entries.end(), Entry{Hash(upperPath), 0});
        // A hash is confirmed against the row's own text.
        return std::any_of(first, last, [&](const Entry& entry) {
            return ToUpper(m_target.CellText(entry.row, kColumnPath)) == upperPath;
        });
    }
    // The path of a new last row has been written.
    void Added(const std::wstring& upperPath, long row) {
        const Entry entry{Hash(upperPath), row};
        m_entries.insert(std::upper_bound(m_entries.begin(), m_entries.end(), entry), entry);
        m_rows = row;
    }

  private:
    struct Entry {
        size_t hash;
        long row;
        bool operator<(const Entry& other) const { return hash < other.hash; }
    };

    static size_t Hash(std::wstring_view upperPath) { return std::hash<std::wstring_view>{}(upperPath); }

    void Refresh() {
        const long rows = m_target.Rows();
        if (m_read && rows == m_rows)
            return;
        m_entries.clear();
        m_entries.reserve(static_cast<size_t>(rows));
        for (long row = 1; row <= rows; ++row) {
            std::wstring path = m_target.CellText(row, kColumnPath);
            MakeUpper(path);
            m_entries.push_back(Entry{Hash(path), row});
        }
        std::sort(m_entries.begin(), m_entries.end());
        m_rows = rows;
        m_read = true;
    }

    FileListTarget& m_target;
    std::vector<Entry> m_entries;
    long m_rows = 0;
    bool m_read = false;
};

// Only files are listed: a trailing "\" names a folder (a share's root "\\server\share\" too), and
// the system's attributes tell any other.
bool NamesFolder(const std::wstring& path, const WIN32_FILE_ATTRIBUTE_DATA& data) {
    return path.ends_with(L'\\') || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void AddFile(const std::wstring& path, FileListTarget& target, ListedPaths& listed) {
    // A NUL inside the text would cut the path the system sees, so a different file would be found.
    if (path.find(L'\0') != std::wstring::npos || !FileExists(path))
        return;
    const long row = target.Rows() + 1;
    if (row > kMaxListRows)
        return;
    const std::wstring upperPath = ToUpper(path);
    if (listed.Contains(upperPath))
        return;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) || NamesFolder(path, data))
        return;
    // The file's time as the user's clock shows it.
    FILETIME local{};
    SYSTEMTIME time{};
    if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &time))
        return;
    const double length =
        static_cast<double>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);

    target.CellDetails(row, kColumnName, FileNameOfVariant(path), std::nullopt);
    target.CellDetails(row, kColumnDate, TaggedValue::FromSystemTime(time), std::nullopt);
    target.CellDetails(row, kColumnSize, TaggedValue(length).Format(L"#,###,###,##0"), kAlignRight);
    target.CellDetails(row, kColumnPath, TaggedValue(path), std::nullopt);
    listed.Added(upperPath, row);
}

}  // namespace

void AddFilesToList(std::wstring_view text, FileListTarget& target) noexcept {
    try {
        target.ShowMainWindow();
    } catch (...) {
    }
    try {
        target.RestoreMainWindow();
    } catch (...) {
    }
    std::vector<std::wstring> paths;
    try {
        paths = CommandLinePaths(text);
    } catch (...) {
        return;
    }
    ListedPaths listed(target);
    long rowsBefore = 0;
    try {
        rowsBefore = target.Rows();
    } catch (...) {
    }
    for (const std::wstring& path : paths) {
        try {
            AddFile(path, target, listed);
        } catch (...) {
            // One file's failure must not cost the others.
        }
    }
    try {
        if (target.Rows() <= rowsBefore)
            return;
    } catch (...) {
        return;
    }
    // Once the files are in, not after each: selecting walks every row of the list. Nothing paints
    // in between, so the list shows the same.
    try {
        target.CellSelected(1, 1, true);
    } catch (...) {
    }
    try {
        target.EnableSendNow();
    } catch (...) {
    }
}

}  // namespace ferryl
