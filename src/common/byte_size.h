#pragma once
// Sizes as Explorer shows them to the user.

#include <cstdint>
#include <string>

namespace ferryl {

// The system's short text for a size ("34.5 MB", in the user's number format); the bytes in
// digits with " bytes" where the system cannot give one.
std::wstring ByteSizeText(uint64_t bytes);

}  // namespace ferryl
