#include "app/intake.h"

#include <windows.h>

#include <unordered_set>

#include "app/command_line.h"
#include "common/text.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

constexpr long kColumnName = 1;
constexpr long kColumnDate = 2;
constexpr long kColumnSize = 3;
constexpr long kColumnPath = 4;
constexpr long kAlignRight = 2;

// The paths already listed, upper-cased, for the duplicate test: read from the list once per
// command line instead of once per file, which made a long list's every new file cost a pass over
// all of its rows. Read again when the list changed under the intake (a nested intake run by a
// message the system dispatched meanwhile).
class ListedPaths {
  public:
    explicit ListedPaths(FileListTarget& target) : m_target(target) {}

    bool Contains(const std::wstring& upperPath) {
        Refresh();
        return m_paths.contains(upperPath);
    }
    void Added(std::wstring upperPath) {
        m_paths.insert(std::move(upperPath));
        ++m_rows;
    }

  private:
    void Refresh() {
        const long rows = m_target.Rows();
        if (m_read && rows == m_rows)
            return;
        m_paths.clear();
        for (long row = 1; row <= rows; ++row)
            m_paths.insert(ToUpper(m_target.CellText(row, kColumnPath)));
        m_rows = rows;
        m_read = true;
    }

    FileListTarget& m_target;
    std::unordered_set<std::wstring> m_paths;
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
    std::wstring upperPath = ToUpper(path);
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
    listed.Added(std::move(upperPath));
    target.CellDetails(row, kColumnDate, TaggedValue::FromSystemTime(time), std::nullopt);
    target.CellDetails(row, kColumnSize, TaggedValue(length).Format(L"#,###,###,##0"), kAlignRight);
    target.CellDetails(row, kColumnPath, TaggedValue(path), std::nullopt);
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
