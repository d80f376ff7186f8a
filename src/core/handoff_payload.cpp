#include "core/handoff_payload.h"

#include "core/utf16.h"

namespace ferryl {

HandoffPayload EncodeHandoffPayload(std::wstring_view commandLine, const std::optional<std::string>& exactAnsi) {
    if (commandLine.empty())
        return {kHandoffAnsi, std::string(1, '\0')};
    if (exactAnsi && exactAnsi->size() <= kHandoffMaxUnits)
        return {kHandoffAnsi, *exactAnsi};
    HandoffPayload payload{kHandoffUtf16, {}};
    AppendUtf16Le(commandLine, payload.bytes);
    return payload;
}

std::optional<HandoffContent> DecodeHandoffPayload(std::uintptr_t dwData, const void* data, std::size_t size) {
    if (!data || size == 0)
        return std::nullopt;
    const std::string_view bytes(static_cast<const char*>(data), size);
    if (dwData == kHandoffAnsi && size <= kHandoffMaxUnits)
        return HandoffContent(std::in_place_type<std::string>, bytes);
    if (dwData == kHandoffUtf16 && size % 2 == 0 && size / 2 <= kHandoffMaxUnits)
        return HandoffContent(WideFromUtf16Le(bytes));
    return std::nullopt;
}

}  // namespace ferryl
