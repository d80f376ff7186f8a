#pragma once
// Paths for mail programs that read them in the ANSI code page (Sylpheed, a Simple MAPI client
// without MAPISendMailW): a character the code page lacks would arrive as "?" and the file would
// not be found, so such a path goes by its 8.3 form, which Windows makes of code-page characters.

#include <optional>
#include <string>
#include <vector>

namespace ferryl {

// The long path when the code page holds it exactly, else the 8.3 path when that one is held;
// nothing when neither is (no 8.3 names on the volume, say).
std::optional<std::wstring> AnsiCarriedPath(const std::wstring& path);

// The file's own name when the code page holds it, else its 8.3 name; nothing when neither.
std::optional<std::wstring> AnsiCarriedName(const std::wstring& path);

// Each path as AnsiCarriedPath gives it, for the program named; or, when a path has no such form,
// the warning that names those files.
struct AnsiCarriedPaths {
    std::vector<std::wstring> paths;
    std::wstring failure;
};
AnsiCarriedPaths CarryInAnsi(const std::vector<std::wstring>& paths, const std::wstring& programName);

}  // namespace ferryl
