#include "core/handoff_payload.h"

#include "common/text.h"

namespace ferryl {

HandoffPayload BuildHandoffPayload(std::wstring_view commandLine) {
    if (commandLine.empty())
        return {kHandoffAnsi, std::string(1, '\0')};
    std::optional<std::string> ansi = ToAnsiExact(commandLine);
    if (ansi && ansi->size() <= kHandoffMaxUnits)
        return {kHandoffAnsi, std::move(*ansi)};
    HandoffPayload payload{kHandoffUtf16, {}};
    payload.bytes.reserve(commandLine.size() * 2);
    for (wchar_t c : commandLine) {
        payload.bytes.push_back(static_cast<char>(c & 0xFF));
        payload.bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return payload;
}

std::optional<std::wstring> DecodeHandoffPayload(std::uintptr_t dwData, const void* data, std::size_t size) {
    if (!data || size == 0)
        return std::nullopt;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (dwData == kHandoffAnsi && size <= kHandoffMaxUnits)
        return FromAnsi(std::string_view(reinterpret_cast<const char*>(bytes), size));
    if (dwData == kHandoffUtf16 && size % 2 == 0 && size / 2 <= kHandoffMaxUnits) {
        std::wstring text(size / 2, L'\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        return text;
    }
    return std::nullopt;
}

}  // namespace ferryl
