#include "app/intake.h"

#include <windows.h>

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

bool IsListed(const std::wstring& path, FileListTarget& target) {
    const std::wstring wanted = ToUpper(path);
    const long rows = target.Rows();
    for (long row = 1; row <= rows; ++row) {
        if (ToUpper(target.CellText(row, kColumnPath)) == wanted)
            return true;
    }
    return false;
}

void AddFile(const std::wstring& path, FileListTarget& target) {
    // A NUL inside the text would cut the path the system sees, so a different file would be found.
    if (path.find(L'\0') != std::wstring::npos || !FileExists(path))
        return;
    const long row = target.Rows() + 1;
    if (row > kMaxListRows || IsListed(path, target))
        return;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
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
    target.CellSelected(1, 1, true);
    target.EnableSendNow();
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
    for (const std::wstring& path : paths) {
        try {
            AddFile(path, target);
        } catch (...) {
            // One file's failure must not cost the others.
        }
    }
}

}  // namespace ferryl
