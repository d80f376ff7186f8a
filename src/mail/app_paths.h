#pragma once
// Programs Windows registers by their file name under App Paths, where the shell's Run box and
// ShellExecute find them. A program found there each time survives the updates that move it: the
// new Outlook's olk.exe lies in a protected folder whose name changes with each one.

#include <optional>
#include <string>
#include <vector>

namespace ferryl {

inline constexpr wchar_t kAppPathsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// The path registered for a bare file name ("olk.exe"), of the current user, else of the machine:
// the key's default value without its quotes, environment strings expanded. Nothing when neither
// registers the name.
std::optional<std::wstring> AppPath(const std::wstring& fileName);

// A known mail program that App Paths registers and whose file exists.
struct RegisteredProgram {
    std::wstring fileName;     // "olk.exe", as the setting keeps it
    std::wstring displayName;  // "Outlook (new)"
    std::wstring path;         // where it is now
};

// Every such program, in the order of KnownMailPrograms.
std::vector<RegisteredProgram> RegisteredMailPrograms();

}  // namespace ferryl
