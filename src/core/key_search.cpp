#include "core/key_search.h"

#include <utility>

#include "core/surrogates.h"

namespace ferryl {
namespace {

// The two halves as one character in this platform's wide text.
std::wstring Joined(wchar_t high, wchar_t low) {
    if constexpr (sizeof(wchar_t) == 2) {
        return std::wstring{high, low};
    } else {
        const auto codePoint =
            0x10000 + ((static_cast<std::uint32_t>(high) - 0xD800) << 10) + (static_cast<std::uint32_t>(low) - 0xDC00);
        return std::wstring(1, static_cast<wchar_t>(codePoint));
    }
}

}  // namespace

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix, TextsEqualNoCase beyondAscii) {
    if (text.size() < prefix.size())
        return false;
    // The key search runs over every row per key press, so the common case must not allocate or
    // call out.
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        wchar_t a = text[i];
        wchar_t b = prefix[i];
        if (a == b)
            continue;
        if (a >= 0x80 || b >= 0x80)
            return beyondAscii(text.substr(0, prefix.size()), prefix);
        if (a >= L'a' && a <= L'z')
            a = static_cast<wchar_t>(a - L'a' + L'A');
        if (b >= L'a' && b <= L'z')
            b = static_cast<wchar_t>(b - L'a' + L'A');
        if (a != b)
            return false;
    }
    return true;
}

std::optional<std::wstring> KeySearch::Typed(wchar_t unit) {
    const wchar_t high = std::exchange(m_pendingHigh, L'\0');
    if (IsHighSurrogate(unit)) {
        // The system sends a character beyond U+FFFF as two WM_CHARs: the search waits for both.
        m_pendingHigh = unit;
        return std::nullopt;
    }
    if (IsLowSurrogate(unit))
        return high ? std::optional(Joined(high, unit)) : std::nullopt;
    // Tab, Enter and Escape do not search.
    if (unit == L'\b' || unit >= L' ')
        return std::wstring(1, unit);
    return std::nullopt;
}

bool KeySearch::PauseEnded(std::uint32_t now) noexcept {
    const bool ended = now - m_lastTick > kPauseMs;
    m_lastTick = now;
    return ended;
}

std::wstring KeySearch::Edited(std::wstring text, std::wstring_view typed) {
    if (typed != L"\b") {
        text += typed;
        return text;
    }
    if (!text.empty())
        text.pop_back();
    if (!text.empty() && IsHighSurrogate(text.back()))
        text.pop_back();  // the whole character beyond U+FFFF goes
    return text;
}

}  // namespace ferryl
