// What the running instance does with a WM_COPYDATA payload: checks and decodes it, then re-joins
// the command line it carries into candidate paths. The first byte of an input is the payload's
// tag (dwData), the rest its bytes. With the first byte's high bit set, the payload is stretched to
// the size limit instead: the second byte, signed, is how many bytes past the limit it ends, and
// the rest is repeated to fill it, so that small inputs reach and cross the 32,767 limit.

#include <cstddef>
#include <cstdint>
#include <variant>

#include "core/handoff_payload.h"
#include "fuzz/command_line_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ferryl;
    using namespace ferryl::fuzz;
    if (size == 0)
        return 0;
    const std::uintptr_t tag = data[0] & 0x7F;
    std::string payload(reinterpret_cast<const char*>(data + 1), size - 1);
    if ((data[0] & 0x80) && size > 2) {
        const std::string pattern = payload.substr(1);
        const std::ptrdiff_t limit = static_cast<std::ptrdiff_t>(kHandoffMaxUnits) * (tag == kHandoffUtf16 ? 2 : 1);
        payload.resize(static_cast<std::size_t>(limit + static_cast<std::int8_t>(data[1])));
        for (std::size_t i = 0; i < payload.size(); ++i)
            payload[i] = pattern[i % pattern.size()];
    }

    const auto content = WithinBudget("DecodeHandoffPayload", [&] {
        return DecodeHandoffPayload(tag, payload.empty() ? nullptr : payload.data(), payload.size());
    });
    const bool ours = !payload.empty() &&
                      ((tag == kHandoffAnsi && payload.size() <= kHandoffMaxUnits) ||
                       (tag == kHandoffUtf16 && payload.size() % 2 == 0 && payload.size() / 2 <= kHandoffMaxUnits));
    FUZZ_REQUIRE(content.has_value() == ours);
    if (!content)
        return 0;

    // The text of the payload, which goes back into the same bytes. The code page is the system's:
    // here a single-byte one stands in for it.
    std::wstring text;
    if (const std::string* ansi = std::get_if<std::string>(&*content)) {
        FUZZ_REQUIRE(tag == kHandoffAnsi && *ansi == payload);
        text = ByteText(reinterpret_cast<const std::uint8_t*>(ansi->data()), ansi->size());
        const HandoffPayload again = EncodeHandoffPayload(text, *ansi);
        FUZZ_REQUIRE(again.dwData == kHandoffAnsi && again.bytes == payload);
    } else {
        FUZZ_REQUIRE(tag == kHandoffUtf16);
        text = std::get<std::wstring>(*content);
        const HandoffPayload again = EncodeHandoffPayload(text, std::nullopt);
        FUZZ_REQUIRE(again.dwData == kHandoffUtf16 && again.bytes == payload);
    }

    const auto paths = WithinBudget("CommandLinePaths", [&] { return CommandLinePaths(text); });
    CheckRejoin(text, paths);
    return 0;
}
