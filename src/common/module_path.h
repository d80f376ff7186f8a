#pragma once
// Where the program's files are: its executable, and the folder that holds it (and Ferryl.ini).

#include <windows.h>

#include <string>

namespace ferryl {

// The full path of a module's file (the running executable by default); empty on failure.
std::wstring ModulePath(HMODULE module = nullptr);

// The running executable's full path.
std::wstring ProgramPath();

// The folder of the running executable, without a trailing "\".
std::wstring ProgramFolder();

}  // namespace ferryl
