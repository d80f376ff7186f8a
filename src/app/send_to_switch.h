#pragma once
// Ferryl.exe /install and /uninstall: the Send To entry placed or removed on request, for
// installers, scripts and the portable copy; the process then ends without a window.

#include <optional>
#include <string_view>

namespace ferryl {

// Carries out the switch that the argument part of the command line is, and gives the process's
// exit code: 0 when done, 1 when the entry could not be placed or removed (the failure is
// recorded). Nothing when the arguments are files.
std::optional<int> RunSendToSwitch(std::wstring_view arguments) noexcept;

}  // namespace ferryl
