#include "core/utf16.h"

#include "core/surrogates.h"

namespace ferryl {

namespace {

void AppendUnit(char32_t unit, std::string& bytes) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>((unit >> 8) & 0xFF);
}

// The units of one wchar_t: itself where it is a unit, otherwise one or two.
template <typename Emit>
void ForEachUnit(wchar_t c, Emit&& emit) {
    auto value = static_cast<char32_t>(c);
    if constexpr (sizeof(wchar_t) == 2) {
        emit(value);
    } else {
        if (value > 0x10FFFF)
            value = kReplacementCharacter;
        if (value < 0x10000) {
            emit(value);
        } else {
            emit(0xD800 + ((value - 0x10000) >> 10));
            emit(0xDC00 + ((value - 0x10000) & 0x3FF));
        }
    }
}

}  // namespace

void AppendUtf16Le(std::wstring_view text, std::string& bytes) {
    bytes.reserve(bytes.size() + text.size() * 2);
    for (const wchar_t c : text)
        ForEachUnit(c, [&](char32_t unit) { AppendUnit(unit, bytes); });
}

std::wstring WideFromUtf16Le(std::string_view bytes) {
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    std::wstring text;
    text.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        char32_t unit = unitAt(i);
        if constexpr (sizeof(wchar_t) != 2) {
            if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(unitAt(i + 1))) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00);
                ++i;
            }
        }
        text += static_cast<wchar_t>(unit);
    }
    return text;
}

}  // namespace ferryl
