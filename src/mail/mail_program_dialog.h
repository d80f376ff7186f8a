#pragma once
// "E-Mail Program": the user picks the mail program Send Now hands the files to: the default mail
// client whichever it is, a client registered for Simple MAPI (the default one marked), or any
// program through the file dialog.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace ferryl {

struct MailProgramChoice {
    bool isProgram = false;  // a program's full path, else the setting "MAPI" or "MAPI:<name>"
    std::wstring text;
};

// Shows the file dialog for a program over the given owner; its full path, or nothing if cancelled.
using PickMailProgram = std::function<std::optional<std::wstring>(HWND owner)>;

// Shows the dialog modally over owner, starting from the current MailProgram setting. The choice
// confirmed with OK, or nothing when cancelled or nothing new was chosen.
std::optional<MailProgramChoice> ShowMailProgramDialog(HWND owner,
                                                       const std::wstring& currentSetting,
                                                       const PickMailProgram& pickProgram);

// How a MailProgram setting reads in the dialog.
std::wstring DescribeMailProgramSetting(const std::wstring& setting);

}  // namespace ferryl
