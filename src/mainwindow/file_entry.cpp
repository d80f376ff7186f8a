#include "mainwindow/file_entry.h"

#include <windows.h>

namespace ferryl {

std::optional<FileEntry> ReadFileEntry(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    // Only files are listed: a trailing "\" names a folder (a share's root "\\server\share\" too),
    // and the system's attributes tell any other.
    if (path.ends_with(L'\\') || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    // The file's time as the user's clock shows it.
    FILETIME local{};
    SYSTEMTIME time{};
    if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &time))
        return std::nullopt;
    // The whole 64-bit length: a file of 2 GB or more is listed with its true size.
    const double length =
        static_cast<double>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    return FileEntry{TaggedValue::FromSystemTime(time), TaggedValue(length).Format(L"#,###,###,##0")};
}

void WriteFileRow(FileListTarget& target,
                  long row,
                  const TaggedValue& name,
                  const std::wstring& path,
                  const FileEntry& entry) {
    target.CellDetails(row, kColumnName, name, std::nullopt);
    target.CellDetails(row, kColumnDate, entry.modified, std::nullopt);
    target.CellDetails(row, kColumnSize, entry.size, kSizeColumnAlign);
    target.CellDetails(row, kColumnPath, TaggedValue(path), std::nullopt);
}

}  // namespace ferryl
