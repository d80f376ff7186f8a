#pragma once
// The bytes a later instance hands to the running one in WM_COPYDATA. A command line that the ANSI
// code page holds without loss travels as its ANSI bytes with tag 0 (an empty one as a single zero
// byte); any other travels as UTF-16LE with tag 1, since a replaced character would lose the file.
// The code page is the system's: the caller converts, these build and check the bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace ferryl {

inline constexpr std::uintptr_t kHandoffAnsi = 0;
inline constexpr std::uintptr_t kHandoffUtf16 = 1;
// A command line holds at most 32767 UTF-16 units, and so does a payload: at most that many ANSI
// bytes or UTF-16 units. Anything larger is not a command line of ours and is ignored.
inline constexpr std::size_t kHandoffMaxUnits = 32767;

struct HandoffPayload {
    std::uintptr_t dwData = kHandoffAnsi;
    std::string bytes;
};

// The payload of a command line, given its ANSI form when the code page holds it without loss.
// A command line whose ANSI form would pass the limit (double-byte code pages take two bytes for
// some characters) travels as UTF-16 too.
HandoffPayload EncodeHandoffPayload(std::wstring_view commandLine, const std::optional<std::string>& exactAnsi);

// What a received payload holds: its ANSI bytes as they came (zero bytes included), for the caller
// to read in the code page, or the text of a UTF-16 payload.
using HandoffContent = std::variant<std::string, std::wstring>;

// Nothing for an unknown tag, an empty payload, one of more than kHandoffMaxUnits bytes (ANSI) or
// units (UTF-16), or UTF-16 of odd length.
std::optional<HandoffContent> DecodeHandoffPayload(std::uintptr_t dwData, const void* data, std::size_t size);

}  // namespace ferryl
