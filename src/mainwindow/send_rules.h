#pragma once
// The rules of Copy To and Send Now that need no system calls: the names a copy may take, and the
// command line the mail program is started with.

#include <string>
#include <string_view>
#include <vector>

namespace ferryl {

// The path of a copy of fileName in folder (which ends in "\"): the plain name for counter 0,
// otherwise the name followed by "." and the counter ("report.doc.2").
std::wstring CopyTargetPath(std::wstring_view folder, std::wstring_view fileName, long counter);

// A path as it goes on the mail program's command line: unchanged, or in double quotes when it
// still holds a blank (8.3 names are switched off on many volumes, so a short path may keep one).
std::wstring CommandLinePath(std::wstring_view path);

// The file list text: the paths after the parameters, single blanks between the parts. An empty
// path contributes nothing (a file whose short form could not be had).
std::wstring MailArguments(std::wstring_view clParameters, const std::vector<std::wstring>& paths);

// The whole command line: the program's path, then the arguments after one blank.
std::wstring MailCommandLine(std::wstring_view programPath, std::wstring_view arguments);

}  // namespace ferryl
