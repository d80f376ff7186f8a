#include "common/text.h"

#include <windows.h>

namespace ferryl {

namespace {

int Length(size_t size) {
    return static_cast<int>(size);
}

}  // namespace

std::string ToAnsi(std::wstring_view text) {
    if (text.empty())
        return {};
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.data(), Length(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), Length(text.size()), result.data(), bytes, nullptr, nullptr);
    return result;
}

std::optional<std::string> ToAnsiExact(std::wstring_view text) {
    std::string ansi = ToAnsi(text);
    // Best-fit mappings (for example a Greek letter turned into a Latin one) also lose the name,
    // so the test is the round trip rather than the default-character flag.
    if (FromAnsi(ansi) != text)
        return std::nullopt;
    return ansi;
}

std::wstring FromAnsi(std::string_view text) {
    if (text.empty())
        return {};
    int chars = ::MultiByteToWideChar(CP_ACP, 0, text.data(), Length(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), Length(text.size()), result.data(), chars);
    return result;
}

std::wstring ToUpper(std::wstring_view text) {
    std::wstring result(text);
    MakeUpper(result);
    return result;
}

void MakeUpper(std::wstring& text) {
    if (!text.empty())
        ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
}

}  // namespace ferryl
