#pragma once
// The one registry read of the program. The program never writes the registry.

#include <windows.h>

#include <string>

#include "common/tagged_value.h"

namespace ferryl {

// What RegRead returns when there is no text to read; callers treat it as an ordinary value.
inline constexpr wchar_t kRegReadMissing[] = L"No! Value or Key Doesn't exist";

// Reads a REG_SZ value, cut at its first NUL. A missing key or value, another type (REG_EXPAND_SZ
// included) or an empty text gives kRegReadMissing.
TaggedValue RegRead(HKEY root, const std::wstring& subkey, const std::wstring& valueName);

}  // namespace ferryl
