#include "app/send_to_switch.h"

#include <windows.h>

#include <string>
#include <utility>

#include "app/shortcut.h"
#include "app/start_up.h"
#include "common/continue_on_error.h"
#include "common/error.h"
#include "common/module_path.h"
#include "core/path_rules.h"
#include "core/send_to_switch.h"
#include "settings/erwr.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

constexpr long kErrPathFileAccess = 75;
constexpr long kErrPathNotFound = 76;

[[noreturn]] void Raise(long number, const wchar_t* description) {
    throw Error(number, ErrorSource(L"SendToSwitch"), description);
}

// Where start-up looks for the entry, so that it finds what /install placed.
std::wstring SendToShortcutPath() {
    std::wstring folder = RegRead(HKEY_CURRENT_USER, kShellFoldersKey, L"SendTo").ToText();
    if (folder == kRegReadMissing)
        Raise(kErrPathNotFound, L"The Send To folder is not known");
    return WithBackslash(std::move(folder)) + kShortcutName;
}

// An entry of another copy of the program (an installed one, say) is that copy's to remove; one
// that points at this program, at nothing that exists or cannot be read goes. Both paths in their
// long form: a program started by its 8.3 path has that one for its own.
bool BelongsToAnotherProgram(const std::wstring& link, const std::wstring& program) {
    const std::wstring target = ShortcutTarget(link);
    return !target.empty() && ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES &&
           ::CompareStringOrdinal(LongPathName(target).c_str(), -1, LongPathName(program).c_str(), -1, TRUE) !=
               CSTR_EQUAL;
}

void Install() {
    // Placed anew even when an entry is there: it may point at a copy that was moved or removed.
    if (!CreateShortcut(SendToShortcutPath(), ProgramPath(), kShortcutDescription))
        Raise(kErrPathFileAccess, L"The Send To entry could not be saved");
}

void Uninstall() {
    const std::wstring link = SendToShortcutPath();
    if (::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES || BelongsToAnotherProgram(link, ProgramPath()))
        return;
    if (!::DeleteFileW(link.c_str()))
        Raise(kErrPathFileAccess, L"The Send To entry could not be removed");
}

}  // namespace

std::optional<int> RunSendToSwitch(std::wstring_view arguments) noexcept {
    const SendToSwitch request = SendToSwitchOf(arguments);
    if (request == SendToSwitch::None)
        return std::nullopt;
    const bool done = request == SendToSwitch::Install ? ContinueOnError(L"/install", Install)
                                                       : ContinueOnError(L"/uninstall", Uninstall);
    return done ? 0 : 1;
}

}  // namespace ferryl
