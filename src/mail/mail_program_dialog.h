#pragma once
// "E-Mail Program": the user picks what Send Now hands the files to: Ferryl's own choice, the
// default mail program whichever it is, a known mail program that Windows registers under App
// Paths, a mail client registered for Simple MAPI (the default one marked), or any program through
// the file dialog; each entry says in plain words what Send Now then does. The same dialog holds
// the message size above which Send Now warns.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace ferryl {

struct MailProgramChoice {
    // A program's full path, else the setting's text as it is kept: "" (choose automatically),
    // "MAPI", "MAPI:<name>" or a bare program name ("olk.exe").
    bool isProgram = false;
    std::wstring text;
};

struct MailProgramDialogResult {
    std::optional<MailProgramChoice> program;  // nothing when no entry was chosen
    std::optional<long> sizeLimitMB;           // only when the user changed it
};

// Shows the file dialog for a program over the given owner; its full path, or nothing if cancelled.
using PickMailProgram = std::function<std::optional<std::wstring>(HWND owner)>;

// Shows the dialog modally over owner, starting from the current MailProgram setting and message
// size limit. What OK confirmed, or nothing when cancelled.
std::optional<MailProgramDialogResult> ShowMailProgramDialog(HWND owner,
                                                             const std::wstring& currentSetting,
                                                             long sizeLimitMB,
                                                             const PickMailProgram& pickProgram);

// How a MailProgram setting reads in the dialog: what is chosen and, on a line of its own, what
// Send Now then does.
std::wstring DescribeMailProgramSetting(const std::wstring& setting);

}  // namespace ferryl
