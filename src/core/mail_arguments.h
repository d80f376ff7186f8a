#pragma once
// The command lines Send Now starts a mail program with, for each kind of program. Whatever the
// kind, the CLParameters setting comes first, one blank before the kind's own arguments.

#include <string>
#include <string_view>
#include <vector>

#include "core/mail_kind.h"

namespace ferryl {

// A path as it goes on a command line: unchanged, or in double quotes when it holds a blank.
std::wstring CommandLinePath(std::wstring_view path);

// Any other program: the short paths after the parameters, single blanks between the parts. An
// empty path contributes nothing (a file whose short form could not be had).
std::wstring MailArguments(std::wstring_view clParameters, const std::vector<std::wstring>& shortPaths);

// The whole command line: the program's path, then the arguments after one blank.
std::wstring MailCommandLine(std::wstring_view programPath, std::wstring_view arguments);

// Thunderbird, Betterbird, SeaMonkey: -compose "attachment='U1,U2'", U a file URL of each path.
std::wstring ThunderbirdArguments(std::wstring_view clParameters, const std::vector<std::wstring>& longPaths);

// Claws Mail: --attach and each file as a file URL; a network path as it is.
std::wstring ClawsArguments(std::wstring_view clParameters, const std::vector<std::wstring>& longPaths);

// Sylpheed: --attach and each path, quoted where it holds a blank. Sylpheed reads its arguments in
// the ANSI code page: the paths are the forms it can carry (AnsiCarriedPath).
std::wstring SylpheedArguments(std::wstring_view clParameters, const std::vector<std::wstring>& ansiPaths);

// Classic Outlook, one file: /c ipm.note /a "<path>".
std::wstring OutlookArguments(std::wstring_view clParameters, std::wstring_view longPath);

// The new Outlook: the draft message file's path.
std::wstring NewOutlookArguments(std::wstring_view clParameters, std::wstring_view draftPath);

// Classic Outlook takes only one file on its command line; more go through Simple MAPI.
bool GoesThroughMapi(MailProgramKind kind, size_t fileCount);

}  // namespace ferryl
