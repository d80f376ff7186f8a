#pragma once
// The size above which Send Now warns that a message may be too big for the mail server to take:
// the key MessageSizeLimitMB of [Settings], in megabytes. The key is written only once the user
// changes the limit, so a new settings file keeps its default content.

#include <string>

namespace ferryl {

// Common limits: 20 MB at Outlook.com, 25 MB at Gmail, 10 to 35 MB on Exchange servers.
inline constexpr long kDefaultMessageSizeLimitMB = 25;
inline constexpr wchar_t kMessageSizeLimitKey[] = L"MessageSizeLimitMB";

// The limit in megabytes; 0 turns the warning off. A missing key, or a value that is not a whole
// number from 0 up, gives the default.
long ReadMessageSizeLimitMB(const std::wstring& iniFile);

// Stores a limit the user has set.
void WriteMessageSizeLimitMB(long megabytes, const std::wstring& iniFile);

}  // namespace ferryl
