#pragma once
// Text inside the program is UTF-16 (std::wstring). The settings file and the instance handoff keep
// single-byte text in the system's ANSI code page; these convert at that boundary only.

#include <optional>
#include <string>
#include <string_view>

namespace ferryl {

// Wide text to the ANSI code page; characters the code page lacks become the system's default
// character, as the system's own A functions do.
std::string ToAnsi(std::wstring_view text);

// The same, but only when every character survives the round trip; otherwise nothing.
std::optional<std::string> ToAnsiExact(std::wstring_view text);

std::wstring FromAnsi(std::string_view text);

// Upper case as the user's locale sees it.
std::wstring ToUpper(std::wstring_view text);
// The same, in place.
void MakeUpper(std::wstring& text);

}  // namespace ferryl
