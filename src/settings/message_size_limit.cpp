#include "settings/message_size_limit.h"

#include "settings/ini.h"

namespace ferryl {

namespace {

constexpr wchar_t kSection[] = L"Settings";
// Far above any mail server's limit, and well inside a long.
constexpr long kLargestLimitMB = 1000000;

}  // namespace

long ReadMessageSizeLimitMB(const std::wstring& iniFile) {
    const std::wstring text = ReadIni(kSection, kMessageSizeLimitKey, iniFile);
    if (text.empty() || text.size() > 7)
        return kDefaultMessageSizeLimitMB;
    long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return kDefaultMessageSizeLimitMB;
        value = value * 10 + (c - L'0');
    }
    return value <= kLargestLimitMB ? value : kDefaultMessageSizeLimitMB;
}

void WriteMessageSizeLimitMB(long megabytes, const std::wstring& iniFile) {
    WriteIni(kSection, kMessageSizeLimitKey, std::to_wstring(megabytes), iniFile);
}

}  // namespace ferryl
