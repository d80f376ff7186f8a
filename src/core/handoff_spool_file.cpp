#include "core/handoff_spool_file.h"

#include <cstdio>

#include "core/ascii_case.h"
#include "core/utf16.h"

namespace ferryl {

namespace {

constexpr std::wstring_view kMark = L"Ferryl handoff 1";
constexpr std::wstring_view kSuffix = L".handoff";

std::wstring SessionPrefix(unsigned long session) {
    wchar_t prefix[16];
    std::swprintf(prefix, std::size(prefix), L"S%lX-", session);
    return prefix;
}

}  // namespace

std::string EncodeSpoolFile(const std::vector<std::wstring>& paths) {
    std::string bytes;
    AppendUtf16Le(kMark, bytes);
    bytes.append(2, '\0');
    for (const std::wstring& path : paths) {
        if (path.empty())
            continue;
        AppendUtf16Le(path, bytes);
        bytes.append(2, '\0');
    }
    bytes.append(2, '\0');
    return bytes;
}

std::optional<std::vector<std::wstring>> DecodeSpoolFile(std::string_view bytes) {
    if (bytes.size() > kSpoolFileMaxBytes || bytes.size() % 2 != 0)
        return std::nullopt;
    const std::wstring text = WideFromUtf16Le(bytes);
    // The mark and its NUL, the paths each with its NUL, and the closing NUL.
    if (!text.starts_with(kMark) || text.size() < kMark.size() + 2 || text[kMark.size()] != L'\0' ||
        text.back() != L'\0' || text[text.size() - 2] != L'\0')
        return std::nullopt;
    std::vector<std::wstring> paths;
    const std::wstring_view body = std::wstring_view(text).substr(kMark.size() + 1, text.size() - kMark.size() - 2);
    for (size_t start = 0; start < body.size();) {
        const size_t end = body.find(L'\0', start);
        if (end == start)
            return std::nullopt;  // no path is empty: the end came early
        paths.emplace_back(body.substr(start, end - start));
        start = end + 1;
    }
    return paths;
}

std::wstring SpoolFileName(unsigned long session, unsigned long long time, unsigned long process, unsigned long count) {
    wchar_t rest[64];
    std::swprintf(rest, std::size(rest), L"%016llX-%lX-%lX", time, process, count);
    return SessionPrefix(session) + rest + std::wstring(kSuffix);
}

std::wstring PartialSpoolFileName(std::wstring_view name) {
    return std::wstring(name) + L".partial";
}

std::wstring SpoolFilePattern(unsigned long session) {
    return SessionPrefix(session) + L"*" + std::wstring(kSuffix);
}

bool IsSpoolFileName(std::wstring_view name, unsigned long session) {
    const std::wstring prefix = SessionPrefix(session);
    return name.size() > prefix.size() + kSuffix.size() && EqualsNoCase(name.substr(0, prefix.size()), prefix) &&
           EqualsNoCase(name.substr(name.size() - kSuffix.size()), kSuffix);
}

}  // namespace ferryl
