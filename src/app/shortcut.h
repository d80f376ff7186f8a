#pragma once
// Shell shortcuts (.lnk files) made with the system's shell link object.

#include <string>

namespace ferryl {

// Saves a shortcut at linkPath to target, with the target as its icon and the description given.
// False when the shell link object cannot be made or saved.
bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target, const std::wstring& description);

}  // namespace ferryl
