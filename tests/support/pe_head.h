#pragma once
// The head of a PE image as a DLL file starts: "MZ", the PE header's offset at 0x3C, then "PE\0\0"
// and the machine. Needs no windows.h, so that the native tests take it too.

#include <cstddef>
#include <cstdint>
#include <string>

namespace ferryl::test {

// At least the PE header's first 24 bytes; zeros up to `size` where that is more.
inline std::string PeHead(std::uint16_t machine, std::uint32_t peOffset = 0x80, std::size_t size = 0) {
    std::string head(peOffset + 24, '\0');
    head[0] = 'M';
    head[1] = 'Z';
    for (int i = 0; i < 4; ++i)
        head[0x3C + static_cast<std::size_t>(i)] = static_cast<char>((peOffset >> (8 * i)) & 0xFF);
    head.replace(peOffset, 4, std::string("PE\0\0", 4));
    head[peOffset + 4] = static_cast<char>(machine & 0xFF);
    head[peOffset + 5] = static_cast<char>(machine >> 8);
    if (head.size() < size)
        head.resize(size, '\0');
    return head;
}

}  // namespace ferryl::test
