#pragma once
// The two switches that place or remove the Send To entry without opening a window, for
// installers, scripts and the portable copy. Free of system calls.

#include <string_view>

namespace ferryl {

enum class SendToSwitch { None, Install, Uninstall };

// The switch the argument part of the command line is: "/install" or "/uninstall" in any letter
// case, blanks around it allowed. Anything else, a switch with more after it included, is files.
SendToSwitch SendToSwitchOf(std::wstring_view arguments) noexcept;

}  // namespace ferryl
