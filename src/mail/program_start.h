#pragma once
// Starting the mail program, without waiting for it.

#include <string>

namespace ferryl {

// The longest command line CreateProcess takes, its terminating NUL included.
inline constexpr size_t kLongestCommandLine = 32767;

// Starts program with the whole command line (the program's own path first), in a normal, active
// window. The failure in words, naming the program, or empty when it started.
std::wstring StartProgram(const std::wstring& program, std::wstring commandLine);

}  // namespace ferryl
