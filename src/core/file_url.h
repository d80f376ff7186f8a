#pragma once
// File URLs as Thunderbird's -compose and Claws Mail's --attach take them for attachments.

#include <string>
#include <string_view>

namespace ferryl {

// Percent-encodes UTF-8 bytes, keeping A-Z a-z 0-9 - . _ ~ / : as they are.
std::string PercentEncode(std::string_view utf8);

// "file:///" and the path with "\" turned into "/", percent-encoded:
// C:\Docs\a b,1.txt gives file:///C:/Docs/a%20b%2C1.txt. A network path \\server\share\x gives
// file://///server/share/x, the form Gecko reads back with its server.
std::wstring FileUrl(std::wstring_view path);

// True for a path on a network share: \\server\share\… or \\?\UNC\server\share\….
bool IsNetworkPath(std::wstring_view path);

}  // namespace ferryl
