#pragma once
// The system libraries Ferryl.exe imports on first call (the delay-loaded list in CMakeLists.txt):
// a later start that only hands its files over never loads them. A library that then fails to
// load raises a structured exception (0xC06D007E) that no handler of the program catches, in the
// middle of a session; so an instance that is going to list files loads them all first.

#include <string>

namespace ferryl {

inline constexpr const wchar_t* kDelayedLibraries[] = {L"comctl32.dll", L"comdlg32.dll", L"shell32.dll"};

// Loads every delay-loaded library, which then stays loaded. Empty when all loaded; otherwise the
// message for the user, naming the first that failed and the system's reason.
std::wstring LoadDelayedLibraries();

}  // namespace ferryl
