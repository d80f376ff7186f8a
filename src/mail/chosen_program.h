#pragma once
// Where the program named in MailProgram is now: a path is taken as it is, a bare file name is
// looked up under App Paths each time, a client's name under the registered mail clients. A
// program that is gone is never replaced by another one without asking: the user is told, in
// words that name it.

#include <optional>
#include <string>

#include "core/mail_kind.h"

namespace ferryl {

struct ChosenProgram {
    std::optional<std::wstring> path;  // the program's file (a client's MAPI DLL), when there is one
    std::wstring missing;              // otherwise why it cannot be used, naming it
};

// For a setting of the kind Program, RegisteredProgram or NamedMapi.
ChosenProgram FindChosenProgram(const MailProgramSetting& setting);

}  // namespace ferryl
