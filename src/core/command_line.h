#pragma once
// The command-line texts of the program, free of system calls: the argument part of the process's
// own command line, and the file paths a Send To command line holds.

#include <string>
#include <string_view>
#include <vector>

namespace ferryl {

// The command line after the program's own path: the path (quoted or not) and the blanks after it
// removed, the rest untouched.
std::wstring ArgumentPart(std::wstring_view commandLine);

// Splits at every single blank; two blanks in a row give an empty token, an empty text one token.
std::vector<std::wstring> SplitAtBlanks(std::wstring_view text);

// The candidate paths of a Send To command line, one per token, in order. The shell quotes paths
// with blanks; splitting at blanks cuts them, so a token that does not begin a path (no ":\" and no
// leading "\\") is glued back to the one before it and leaves an empty candidate behind. Double
// quotes are removed at the end.
std::vector<std::wstring> CommandLinePaths(std::wstring_view text);

}  // namespace ferryl
