#pragma once
// The grid's incremental key search: the typed prefix, how typed characters change it, and the rule
// by which a cell's text matches it. Texts are wide strings as the platform holds them: UTF-16 on
// Windows, where a character beyond U+FFFF takes two units, UTF-32 elsewhere.
//
// Letter case beyond ASCII is the user's locale's business: the window class hands in the system's
// upper-casing and its case-blind comparison; everything else is decided here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ferryl {

// True when two texts of the same length are equal ignoring letter case.
using TextsEqualNoCase = bool (*)(std::wstring_view, std::wstring_view);

// True when `text` starts with `prefix` ignoring letter case. ASCII letters are folded here; a
// difference beyond ASCII is left to `beyondAscii` over the whole prefix.
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix, TextsEqualNoCase beyondAscii);

// The prefix as typed so far, and the new prefix a typed character gives.
struct KeySearchHit {
    std::wstring text;  // upper case; empty when Backspace took the last character
    long row = 0;       // the row it found; 0 with an empty text
};

class KeySearch {
  public:
    // Typing after this pause starts a new search, as in the system's list view; the typed prefix
    // leaves the screen then too.
    static constexpr std::uint32_t kPauseMs = 1000;

    const std::wstring& Text() const noexcept { return m_text; }
    void SetText(std::wstring text) { m_text = std::move(text); }

    // A character as WM_CHAR brings it, one UTF-16 unit at a time: the character it completes (a
    // character beyond U+FFFF once both its halves came), "\b" for Backspace, nothing for a control
    // character or a half on its own.
    std::optional<std::wstring> Typed(wchar_t unit);

    // True when more than the pause has gone by since the character before; `now` is a tick count
    // in milliseconds, which may wrap.
    bool PauseEnded(std::uint32_t now) noexcept;

    // `text` with `typed` added to it, or for "\b" with its last character taken away (both halves
    // of a character beyond U+FFFF).
    static std::wstring Edited(std::wstring text, std::wstring_view typed);

    // The search after typing `typed`: the new prefix, upper-cased by `upper`, and the row `find`
    // gives for it (0 for none). When the new prefix finds nothing, the prefix as it was is looked
    // up again and kept. Nothing when neither finds a row. Changes nothing here.
    template <typename Upper, typename Find>
    std::optional<KeySearchHit> Next(std::wstring_view typed, Upper upper, Find find) const {
        std::wstring text = Edited(m_text, typed);
        if (text.empty())
            return KeySearchHit{};
        text = upper(text);
        if (long row = find(text))
            return KeySearchHit{std::move(text), row};
        if (m_text.empty())
            return std::nullopt;
        text = upper(m_text);
        if (long row = find(text))
            return KeySearchHit{std::move(text), row};
        return std::nullopt;
    }

  private:
    std::wstring m_text;
    // The first half of a typed character beyond U+FFFF, until its second half comes.
    wchar_t m_pendingHigh = L'\0';
    std::uint32_t m_lastTick = 0;
};

}  // namespace ferryl
