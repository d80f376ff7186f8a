#pragma once
// The file list's texts that need no system calls: the line under the list with the count and the
// total size, and a row as a screen reader says it.

#include <string>
#include <string_view>

namespace ferryl {

// A size cell shows the length with the user's digit grouping ("3,221,225,472", "3.221.225.472",
// "3 221 225 472"): its digits are the length, whatever separates them. Held at the largest value
// rather than wrapped round.
unsigned long long LengthOfSizeText(std::wstring_view text) noexcept;

// "1 file, " or "12 files, " and the total, as the system formats sizes ("34.5 MB").
std::wstring FileCountAndTotal(long files, std::wstring_view total);

// "<name>, <date>, <size> bytes, in <folder>": the folder is the path's without the file name, a
// drive's root keeping its "\"; a path without a folder leaves that part out.
std::wstring SpokenFileRow(std::wstring_view name,
                           std::wstring_view date,
                           std::wstring_view size,
                           std::wstring_view path);

}  // namespace ferryl
