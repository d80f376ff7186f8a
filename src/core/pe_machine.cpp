#include "core/pe_machine.h"

namespace ferryl {

namespace {

uint32_t ReadLittleEndian(std::string_view bytes, size_t offset, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return value;
}

constexpr size_t kPeOffsetField = 0x3C;

}  // namespace

std::optional<uint16_t> PeMachine(std::string_view head) {
    if (head.size() < kPeOffsetField + 4 || head.substr(0, 2) != "MZ")
        return std::nullopt;
    const size_t pe = ReadLittleEndian(head, kPeOffsetField, 4);
    // The signature "PE\0\0", then the machine.
    if (pe > head.size() || head.size() - pe < 6 || head.substr(pe, 4) != std::string_view("PE\0\0", 4))
        return std::nullopt;
    return static_cast<uint16_t>(ReadLittleEndian(head, pe + 4, 2));
}

int MachineBits(uint16_t machine) {
    switch (machine) {
        case kMachineI386:
        case 0x01C4:  // ARMv7 Thumb-2
            return 32;
        case kMachineAmd64:
        case kMachineArm64:
            return 64;
        default:
            return 0;
    }
}

}  // namespace ferryl
