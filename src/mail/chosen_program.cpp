#include "mail/chosen_program.h"

#include "mail/app_paths.h"
#include "mail/mail_clients.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

constexpr wchar_t kChooseAgain[] = L"\n\nChoose the mail program to send the files with.";

}  // namespace

ChosenProgram FindChosenProgram(const MailProgramSetting& setting) {
    if (setting.kind == MailProgramSetting::Kind::NamedMapi) {
        if (std::optional<std::wstring> dll = MailClientDll(setting.text))
            return {std::move(dll), {}};
        return {std::nullopt,
                L"The mail client \"" + setting.text + L"\" is no longer registered on this computer." + kChooseAgain};
    }
    if (setting.kind != MailProgramSetting::Kind::RegisteredProgram) {
        if (IsExistingFile(setting.text))
            return {setting.text, {}};
        return {std::nullopt, L"The mail program \"" + setting.text + L"\" no longer exists." + kChooseAgain};
    }
    const std::optional<std::wstring> path = AppPath(setting.text);
    if (!path)
        return {std::nullopt,
                L"The mail program \"" + setting.text + L"\" is no longer registered on this computer." + kChooseAgain};
    if (!IsExistingFile(*path))
        return {std::nullopt, L"The mail program \"" + setting.text + L"\" no longer exists at \"" + *path +
                                  L"\", where Windows has it registered." + kChooseAgain};
    return {*path, {}};
}

}  // namespace ferryl
