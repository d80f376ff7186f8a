#pragma once
// What Send Now hands the files to, decided before any file is copied.

#include <string>

#include "core/mail_kind.h"

namespace ferryl {

struct MailTarget {
    enum class Route { Program, Mapi };
    Route route = Route::Program;
    MailProgramKind kind = MailProgramKind::CommandLine;  // of the program, for Route::Program
    std::wstring program;                                 // the program's path, for Route::Program
    std::wstring mapiDll;                                 // the DLL that takes the call, for Route::Mapi
};

// The outcome of choosing: a target, no program chosen (the user cancelled), or a choice that
// cannot work, with the reason in words.
struct MailTargetChoice {
    enum class Status { Chosen, NotSpecified, Failed };
    Status status = Status::NotSpecified;
    MailTarget target;
    std::wstring failure;
};

}  // namespace ferryl
