#pragma once
// The bytes a later instance hands to the running one in WM_COPYDATA. A command line that the ANSI
// code page holds without loss travels as its ANSI bytes with tag 0 (an empty one as a single zero
// byte); any other travels as UTF-16LE with tag 1, since a replaced character would lose the file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ferryl {

inline constexpr std::uintptr_t kHandoffAnsi = 0;
inline constexpr std::uintptr_t kHandoffUtf16 = 1;
// A command line holds at most 32767 characters; anything far larger is not ours.
inline constexpr std::size_t kHandoffMaxBytes = 1024 * 1024;

struct HandoffPayload {
    std::uintptr_t dwData = kHandoffAnsi;
    std::string bytes;
};

HandoffPayload BuildHandoffPayload(std::wstring_view commandLine);

// The text of a received payload; nothing for an unknown tag, an empty or oversized payload, or
// UTF-16 of odd length. ANSI zero bytes become NUL characters.
std::optional<std::wstring> DecodeHandoffPayload(std::uintptr_t dwData, const void* data, std::size_t size);

}  // namespace ferryl
