#pragma once
// The machine a Windows executable or DLL is built for, read from its headers, to tell a user why a
// mail client's DLL does not load: a 32-bit DLL cannot be loaded into a 64-bit program.

#include <cstdint>
#include <optional>
#include <string_view>

namespace ferryl {

inline constexpr uint16_t kMachineI386 = 0x014C;
inline constexpr uint16_t kMachineAmd64 = 0x8664;
inline constexpr uint16_t kMachineArm64 = 0xAA64;

// The COFF machine field of a PE image, from its first bytes (the DOS header, and the PE header it
// points to); nothing when the bytes are no PE image or stop short.
std::optional<uint16_t> PeMachine(std::string_view head);

// The bitness of a machine: 32 or 64, or 0 for one not known here.
int MachineBits(uint16_t machine);

}  // namespace ferryl
