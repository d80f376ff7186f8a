#include "mainwindow/file_entry.h"

#include <windows.h>

#include "common/error.h"

namespace ferryl {

FileEntry ReadFileEntry(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FILETIME local{};
    SYSTEMTIME time{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        !::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &time))
        throw Error(53, ErrorSource(L"FerrylF"), L"File not found");
    // The whole 64-bit length: a file of 2 GB or more is listed with its true size.
    const double length =
        static_cast<double>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    return FileEntry{TaggedValue::FromSystemTime(time), TaggedValue(length).Format(L"#,###,###,##0")};
}

}  // namespace ferryl
