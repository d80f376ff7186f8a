#pragma once
// The kinds of mail program Send Now knows, and what the MailProgram setting names.

#include <span>
#include <string>
#include <string_view>

namespace ferryl {

enum class MailProgramKind {
    CommandLine,  // any other program: short paths on its command line
    Thunderbird,  // thunderbird.exe, betterbird.exe, seamonkey.exe: -compose "attachment='URLs'"
    Claws,        // claws-mail.exe: --attach and file URLs
    Sylpheed,     // sylpheed.exe: --attach and paths its ANSI arguments can carry
    Outlook,      // outlook.exe (classic): /c ipm.note /a for one file, Simple MAPI for more
    NewOutlook,   // olk.exe: a draft message file
};

// A program Send Now knows by its file name, and the name its users know it by.
struct KnownMailProgram {
    std::wstring_view fileName;
    std::wstring_view displayName;
    MailProgramKind kind;
};

// Every known program, in the order the E-Mail Program dialog lists them.
std::span<const KnownMailProgram> KnownMailPrograms();

// The known program of the file's name (case-insensitive); null for any other program.
const KnownMailProgram* FindKnownMailProgram(std::wstring_view programPath);

// The kind, from the program file's name (case-insensitive).
MailProgramKind KindOfProgram(std::wstring_view programPath);

// What the setting MailProgram holds.
struct MailProgramSetting {
    enum class Kind { None, DefaultMapi, NamedMapi, Program, RegisteredProgram };
    Kind kind = Kind::None;
    // The client's name for NamedMapi, the path for Program, the bare file name for
    // RegisteredProgram.
    std::wstring text;
};

// "" names nothing, "MAPI" the default mail client, "MAPI:<name>" a registered client, a bare file
// name ("olk.exe") a program Windows registers under App Paths, anything else a program's path.
// The word MAPI is taken in any case.
MailProgramSetting ParseMailProgramSetting(std::wstring_view value);

// The setting's text for a registered client: "MAPI:<name>".
std::wstring NamedMapiSetting(std::wstring_view clientName);

// The client that classic Outlook registers for Simple MAPI.
inline constexpr wchar_t kOutlookClientName[] = L"Microsoft Outlook";

}  // namespace ferryl
