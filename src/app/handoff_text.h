#pragma once
// The handoff payload (core/handoff_payload.h) with the ANSI code page of this system: what a later
// instance sends and what the running one reads from it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/handoff_payload.h"

namespace ferryl {

// ANSI when every character survives the code page, UTF-16 otherwise.
HandoffPayload BuildHandoffPayload(std::wstring_view commandLine);

// The command line a received payload carries (ANSI zero bytes become NUL characters); nothing
// when the payload is not one of ours.
std::optional<std::wstring> ReceivedCommandLine(std::uintptr_t dwData, const void* data, std::size_t size);

}  // namespace ferryl
