#pragma once
// UTF-8 of the program's wide text, for the places that speak UTF-8: file URLs and mail headers.
// Plain C++: wchar_t holds UTF-16 units on Windows and whole code points elsewhere.

#include <string>
#include <string_view>

namespace ferryl {

// A lone surrogate (a name NTFS allows but no UTF-8 can carry) becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

// True when the text holds a lone surrogate, which Utf8FromWide cannot carry over unchanged.
bool HasLoneSurrogate(std::wstring_view text);

}  // namespace ferryl
