#pragma once
// Case-insensitive comparison of names whose letters that matter are ASCII (program file names,
// the word MAPI, draft file names): only A-Z fold, whatever the user's locale.

#include <algorithm>
#include <string_view>

namespace ferryl {

constexpr wchar_t AsciiLower(wchar_t c) noexcept {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// True when text equals other but for the case of ASCII letters; other may be narrow ASCII text.
template <typename Char>
constexpr bool EqualsNoCase(std::wstring_view text, std::basic_string_view<Char> other) noexcept {
    return text.size() == other.size() && std::equal(text.begin(), text.end(), other.begin(), [](wchar_t a, Char b) {
               return AsciiLower(a) == AsciiLower(static_cast<wchar_t>(b));
           });
}

constexpr bool EqualsNoCase(std::wstring_view text, std::wstring_view other) noexcept {
    return EqualsNoCase<wchar_t>(text, other);
}

}  // namespace ferryl
