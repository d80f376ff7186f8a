#pragma once
// The UTF-16 surrogate ranges and the replacement character, as the text conversions and the key
// search read them.

namespace ferryl {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

constexpr bool IsHighSurrogate(char32_t unit) noexcept {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool IsLowSurrogate(char32_t unit) noexcept {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace ferryl
