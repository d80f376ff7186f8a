#include "core/utf8.h"

#include "core/surrogates.h"

namespace ferryl {

namespace {

// The code point at text[i]; advances i past it.
char32_t NextCodePoint(std::wstring_view text, size_t& i) {
    const char32_t unit = static_cast<char32_t>(text[i++]);
    if constexpr (sizeof(wchar_t) == 2) {
        if (IsHighSurrogate(unit) && i < text.size() && IsLowSurrogate(static_cast<char32_t>(text[i]))) {
            const char32_t low = static_cast<char32_t>(text[i++]);
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    if (IsHighSurrogate(unit) || IsLowSurrogate(unit) || unit > 0x10FFFF)
        return kReplacementCharacter;
    return unit;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
        AppendUtf8(out, NextCodePoint(text, i));
    return out;
}

bool HasLoneSurrogate(std::wstring_view text) {
    for (size_t i = 0; i < text.size();) {
        const char32_t unit = static_cast<char32_t>(text[i]);
        if (NextCodePoint(text, i) == kReplacementCharacter && unit != kReplacementCharacter)
            return true;
    }
    return false;
}

}  // namespace ferryl
