#pragma once
// Shell shortcuts (.lnk files) made with the system's shell link object.

#include <string>

namespace ferryl {

// Saves a shortcut at linkPath to target, with the target as its icon and the description given.
// False when the shell link object cannot be made or saved.
bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target, const std::wstring& description);

// The path a shortcut points at; empty when it cannot be read or points at no file.
std::wstring ShortcutTarget(const std::wstring& linkPath);

}  // namespace ferryl
