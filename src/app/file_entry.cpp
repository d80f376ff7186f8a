#include "app/file_entry.h"

#include <windows.h>

namespace ferryl {

std::optional<FileEntry> ReadFileEntry(const std::wstring& path, TaggedValue name) {
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
    return FileEntry{std::move(name), TaggedValue::FromSystemTime(time), TaggedValue(length).Format(L"#,###,###,##0"),
                     path};
}

}  // namespace ferryl
