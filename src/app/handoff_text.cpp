#include "app/handoff_text.h"

#include "common/text.h"

namespace ferryl {

HandoffPayload BuildHandoffPayload(std::wstring_view commandLine) {
    return EncodeHandoffPayload(commandLine, ToAnsiExact(commandLine));
}

std::optional<std::wstring> ReceivedCommandLine(std::uintptr_t dwData, const void* data, std::size_t size) {
    std::optional<HandoffContent> content = DecodeHandoffPayload(dwData, data, size);
    if (!content)
        return std::nullopt;
    if (const std::string* ansi = std::get_if<std::string>(&*content))
        return FromAnsi(*ansi);
    return std::get<std::wstring>(std::move(*content));
}

}  // namespace ferryl
