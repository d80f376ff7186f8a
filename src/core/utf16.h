#pragma once
// UTF-16LE bytes of the program's wide text, for the handoff payload. wchar_t holds UTF-16 units on
// Windows, where this is a copy unit by unit, and whole code points elsewhere, where a character
// beyond the BMP takes a surrogate pair.

#include <string>
#include <string_view>

namespace ferryl {

// Appends the text as UTF-16LE. A lone surrogate (which NTFS allows in a name) is kept as its unit;
// a value beyond U+10FFFF (possible only where wchar_t is 32 bits) becomes U+FFFD.
void AppendUtf16Le(std::wstring_view text, std::string& bytes);

// The text of UTF-16LE bytes (an odd last byte is ignored). A surrogate that is not part of a pair
// is kept as it is, so that the text gives the same bytes back.
std::wstring WideFromUtf16Le(std::string_view bytes);

}  // namespace ferryl
