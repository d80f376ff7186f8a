#pragma once
// The file version recorded in a module's version resource.

#include <windows.h>

#include <optional>
#include <string>

#include "core/about_text.h"

namespace ferryl {

// The version of the given module (the program itself by default); nothing when it has none.
std::optional<ProgramVersion> ReadModuleVersion(HMODULE module = nullptr);

// The version recorded in a program file; nothing when it has none.
std::optional<ProgramVersion> ReadFileVersion(const std::wstring& path);

}  // namespace ferryl
