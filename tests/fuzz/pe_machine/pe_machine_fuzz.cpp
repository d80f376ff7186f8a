// The PE header reader that tells a 32-bit mail client's DLL from a 64-bit one: on any bytes it
// reads only what it was given, and it finds a machine exactly when the bytes hold "MZ", the offset
// at 0x3C points at "PE\0\0" and the two bytes of the machine follow within them.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/pe_machine.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ferryl;
    using namespace ferryl::fuzz;
    const std::string_view head(reinterpret_cast<const char*>(data), size);
    const std::optional<std::uint16_t> machine = WithinBudget("PeMachine", [&] { return PeMachine(head); });

    std::optional<std::uint16_t> expected;
    if (size >= 0x40 && data[0] == 'M' && data[1] == 'Z') {
        const std::uint64_t pe = data[0x3C] | data[0x3D] << 8 | data[0x3E] << 16 | std::uint64_t{data[0x3F]} << 24;
        if (pe + 6 <= size && data[pe] == 'P' && data[pe + 1] == 'E' && data[pe + 2] == 0 && data[pe + 3] == 0)
            expected = static_cast<std::uint16_t>(data[pe + 4] | data[pe + 5] << 8);
    }
    FUZZ_REQUIRE(machine == expected);
    return 0;
}
