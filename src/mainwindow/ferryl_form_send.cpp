// FerrylF's Copy To controls and the choice of the mail program. Send Now itself is in
// ferryl_form_send_now.cpp.

#include <shlobj.h>

#include "app/start_up.h"
#include "common/continue_on_error.h"
#include "common/unique_handle.h"
#include "core/mail_arguments.h"
#include "mail/chosen_program.h"
#include "mail/mail_clients.h"
#include "mail/mail_program_dialog.h"
#include "mainwindow/ferryl_form.h"
#include "mainwindow/form_steps.h"
#include "mainwindow/settings_path.h"
#include "send/mail_hand_off.h"
#include "send/send_texts.h"
#include "settings/funkcije.h"
#include "settings/ini.h"
#include "settings/message_size_limit.h"
#include "winsvc/cmdlg.h"
#include "winsvc/window_text.h"

namespace ferryl {

namespace {

MailTargetChoice Chosen(MailTarget target) {
    return {MailTargetChoice::Status::Chosen, std::move(target), {}};
}

MailTargetChoice Failed(std::wstring failure) {
    return {MailTargetChoice::Status::Failed, {}, std::move(failure)};
}

MailTargetChoice MapiTarget(const std::wstring& dll) {
    MailTarget target;
    target.route = MailTarget::Route::Mapi;
    target.mapiDll = dll;
    return Chosen(target);
}

MailTargetChoice DefaultClientTarget() {
    const std::optional<std::wstring> name = DefaultMailClient();
    // The client's own DLL takes the call, so that whether it gets the wide call is decided by
    // what that DLL exports, as the system decides it.
    const std::optional<std::wstring> dll = name ? MailClientDll(*name) : std::nullopt;
    if (!dll)
        return Failed(
            L"No default mail client is set up on this computer, so the files cannot be handed to one.\n\nChoose a "
            L"mail program with File > E-Mail Program.");
    if (std::wstring failure = WrongBitnessText(*dll); !failure.empty())
        return Failed(failure);
    return MapiTarget(*dll);
}

MailTargetChoice NamedClientTarget(const std::wstring& name) {
    const std::optional<std::wstring> dll = MailClientDll(name);
    if (!dll)
        return Failed(L"The mail client \"" + name +
                      L"\" is not registered on this computer for Simple MAPI.\n\nChoose another mail program with "
                      L"File > E-Mail Program.");
    return MapiTarget(*dll);
}

}  // namespace

void FerrylF::Inform(const std::wstring& text, const wchar_t* title) {
    ::MessageBoxW(Hwnd(), text.c_str(), title, MB_OK | MB_ICONINFORMATION);
}

// --- Copy To ---

void FerrylF::copyC_Click() noexcept {
    const LRESULT value = ::SendMessageW(m_copyC, BM_GETCHECK, 0, 0);
    if (value == BST_UNCHECKED) {
        DisableCopyToControls();
        return;
    }
    if (value != BST_CHECKED)
        return;
    const StartUpState& startUp = StartUp();
    ContinueOnError(L"copyC_Click: custom folder", [&] {
        ::EnableWindow(m_customD, TRUE);
        ::EnableWindow(m_putanjaT, TRUE);
        ::EnableWindow(m_deleteC, TRUE);
        SetToolTip(m_customD, kCustomFolderName);
    });
    struct FolderButton {
        HWND button;
        const std::wstring& folder;
        const wchar_t* tip;
    };
    for (const FolderButton& entry :
         {FolderButton{m_attachmentsD, startUp.EudoraAttachmentsFolder, kAttachmentsFolderName},
          FolderButton{m_temporaryD, startUp.TempFolder, kTemporaryFolderName},
          FolderButton{m_desktopD, startUp.DesktopFolder, kDesktopFolderName}}) {
        ContinueOnError(L"copyC_Click: folder button", [&] {
            if (FolderExists(entry.folder)) {
                ::EnableWindow(entry.button, TRUE);
                SetToolTip(entry.button, entry.tip);
            }
        });
    }
    ContinueOnError(L"copyC_Click: folder shown", [&] {
        for (const std::wstring* folder :
             {static_cast<const std::wstring*>(&m_customFolder), &startUp.EudoraAttachmentsFolder, &startUp.TempFolder,
              &startUp.DesktopFolder}) {
            if (FolderExists(*folder)) {
                ::SetWindowTextW(m_putanjaT, folder->c_str());
                break;
            }
        }
    });
}

void FerrylF::DisableCopyToControls() noexcept {
    for (HWND control : {m_putanjaT, m_deleteC, m_attachmentsD, m_temporaryD, m_desktopD, m_customD})
        ::EnableWindow(control, FALSE);
}

void FerrylF::customD_Click() noexcept {
    WaitCursor wait;
    ContinueOnError(L"customD_Click", [&] {
        BROWSEINFOW browse{};
        browse.hwndOwner = Hwnd();
        browse.lpszTitle = L"";
        browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
        // The shell allocates the identifier list with the task allocator; it is ours to free.
        const UniqueIdList chosen(::SHBrowseForFolderW(&browse));
        if (!chosen)
            return;
        wchar_t buffer[MAX_PATH + 1]{};
        if (!::SHGetPathFromIDListW(chosen.get(), buffer))
            return;
        const std::wstring folder = std::wstring(buffer) + L"\\";
        ::SetWindowTextW(m_putanjaT, folder.c_str());
        m_customFolder = folder;
        if (const std::optional<std::wstring> kept = FolderPathForSettings(folder)) {
            WriteIni(kSettingsSection, L"AttachmentsFolder", *kept, StartUp().IniFile);
        } else {
            wait.Restore();
            Inform(ChoiceNotKeptText(folder), kWarningTitle);
        }
    });
}

// --- choosing the mail program ---

std::optional<std::wstring> FerrylF::PickMailProgramFile(HWND owner) {
    cmDlg dialog;
    // A dialog that fails raises: that is no cancel, and must not be told as one.
    if (ShowOpenDialog(dialog, L"Select E-Mail Program", L"Program Files (*.exe)|*.exe", owner))
        return dialog.FileName();
    return std::nullopt;
}

void FerrylF::KeepMailProgram(const std::wstring& path) {
    if (const std::optional<std::wstring> kept = ProgramPathForSettings(path)) {
        m_mailProgramPath = *kept;
        WriteIni(kSettingsSection, L"MailProgram", m_mailProgramPath, StartUp().IniFile);
        return;
    }
    m_mailProgramPath = path;
    Inform(ChoiceNotKeptText(path), kWarningTitle);
}

void FerrylF::ChooseMailProgram() noexcept {
    if (!Loaded())
        return;
    ContinueOnError(L"FerrylF.ChooseMailProgram", [&] {
        const std::wstring& iniFile = StartUp().IniFile;
        const std::optional<MailProgramDialogResult> result = ShowMailProgramDialog(
            Hwnd(), m_mailProgramPath, ReadMessageSizeLimitMB(iniFile),
            [this](HWND owner) -> std::optional<std::wstring> {
                // Nothing may leave the dialog's procedure: the user is told here.
                try {
                    return PickMailProgramFile(owner);
                } catch (...) {
                    const FailureRecord failure = RecordCaughtFailure(L"FerrylF.PickMailProgramFile");
                    ::MessageBoxW(owner, (L"The file dialog could not be shown.\n\n" + ReasonOf(failure)).c_str(),
                                  kWarningTitle, MB_OK | MB_ICONINFORMATION);
                    return std::nullopt;
                }
            });
        if (!result)
            return;
        if (result->sizeLimitMB)
            WriteMessageSizeLimitMB(*result->sizeLimitMB, iniFile);
        if (!result->program)
            return;
        if (result->program->isProgram) {
            KeepMailProgram(result->program->text);
            return;
        }
        m_mailProgramPath = result->program->text;
        // A client's name outside the code page would come back as "?".
        if (SettingsFileCanHold(m_mailProgramPath))
            WriteIni(kSettingsSection, L"MailProgram", m_mailProgramPath, iniFile);
        else
            Inform(ClientNotKeptText(ParseMailProgramSetting(m_mailProgramPath).text), kWarningTitle);
    });
}

MailTargetChoice FerrylF::TargetForProgram(const std::wstring& path, long rows) {
    // The kind goes by the program's real name: the setting holds the 8.3 form (THUNDE~1.EXE).
    const MailProgramKind kind = KindOfProgram(LongPathName(path));
    if (GoesThroughMapi(kind, static_cast<size_t>(rows))) {
        MailTargetChoice choice = NamedClientTarget(kOutlookClientName);
        if (choice.status == MailTargetChoice::Status::Failed)
            choice.failure =
                L"Outlook takes only one file on its command line, and more than one is listed. They go to Outlook "
                L"through Simple MAPI, but its client \"" +
                std::wstring(kOutlookClientName) +
                L"\" is not registered on this computer.\n\nSend one file at a time.";
        return choice;
    }
    MailTarget target;
    target.kind = kind;
    // Any other program gets the short path as it always has; the known kinds their real one.
    target.program = kind == MailProgramKind::CommandLine ? ShortPathOrFull(path) : LongPathName(path);
    return Chosen(target);
}

MailTargetChoice FerrylF::ChooseMailTarget(long rows) {
    StartUpState& startUp = StartUp();
    const MailProgramSetting setting = ParseMailProgramSetting(m_mailProgramPath);
    switch (setting.kind) {
        case MailProgramSetting::Kind::DefaultMapi:
            return DefaultClientTarget();
        case MailProgramSetting::Kind::NamedMapi:
        case MailProgramSetting::Kind::Program:
        case MailProgramSetting::Kind::RegisteredProgram: {
            const ChosenProgram program = FindChosenProgram(setting);
            if (!program.path) {
                // Never another program without asking: the user is told and chooses.
                const std::wstring before = m_mailProgramPath;
                Inform(program.missing, kWarningTitle);
                ChooseMailProgram();
                if (!Loaded() || m_mailProgramPath == before)
                    return {};
                return ChooseMailTarget(rows);
            }
            if (setting.kind == MailProgramSetting::Kind::NamedMapi)
                return MapiTarget(*program.path);
            if (setting.kind == MailProgramSetting::Kind::Program)
                m_mailProgramPath = ShortPathOrFull(m_mailProgramPath);
            return TargetForProgram(*program.path, rows);
        }
        case MailProgramSetting::Kind::None:
            break;
    }
    if (FileExists(startUp.EudoraProgram)) {
        startUp.EudoraProgram = ShortPathOrFull(startUp.EudoraProgram);
        return TargetForProgram(startUp.EudoraProgram, rows);
    }
    if (DefaultMailClient())
        return DefaultClientTarget();
    const std::optional<std::wstring> picked = PickMailProgramFile(Hwnd());
    if (!picked)
        return {};
    KeepMailProgram(*picked);
    return TargetForProgram(*picked, rows);
}

}  // namespace ferryl
