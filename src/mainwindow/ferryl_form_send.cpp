// FerrylF's Copy To and Send Now: the folder controls, choosing the mail program, gathering the
// files (copying them first with Copy To) and handing them to the mail program.

#include <shlobj.h>

#include <map>

#include "app/start_up.h"
#include "common/continue_on_error.h"
#include "common/unique_handle.h"
#include "core/mail_arguments.h"
#include "core/mapi_outcome.h"
#include "core/utf8.h"
#include "mail/ansi_path.h"
#include "mail/chosen_program.h"
#include "mail/draft_file.h"
#include "mail/mail_clients.h"
#include "mail/mail_program_dialog.h"
#include "mail/mapi_send.h"
#include "mail/program_start.h"
#include "mainwindow/copy_step.h"
#include "mainwindow/ferryl_form.h"
#include "mainwindow/form_steps.h"
#include "mainwindow/settings_path.h"
#include "settings/funkcije.h"
#include "settings/ini.h"
#include "settings/message_size_limit.h"
#include "winsvc/cmdlg.h"
#include "winsvc/window_text.h"

namespace ferryl {

namespace {

// The 8.3 form of an existing path, or the path itself when the system has none to give (8.3 names
// switched off, a folder that may not be listed, a very long path): the file is still there and is
// passed in full (quoted where it holds a blank) rather than dropped or replaced by nothing. A path
// that does not exist gives the empty text.
std::wstring ShortPathOrFull(const std::wstring& path) {
    std::wstring shortPath = ShortPathName(path);
    if (shortPath.empty() && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return path;
    return shortPath;
}

// The path a mail program shows the file under: its long form, so that the recipient sees the real
// name rather than REPORT~1.DOC. A name no UTF-8 can carry (a lone surrogate) goes by its 8.3 form.
std::wstring PathForMail(const std::wstring& path) {
    std::wstring longPath = LongPathName(path);
    if (HasLoneSurrogate(longPath)) {
        if (std::wstring shortPath = ShortPathName(path); !shortPath.empty())
            return shortPath;
    }
    return longPath;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring Lines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines)
        text += L"\n" + line;
    return text;
}

// The note that ends a message stopping Copy To part way: which files were moved already.
std::wstring MovedNote(const std::vector<std::wstring>& moved) {
    if (moved.empty())
        return {};
    return L"\n\nThese files were already moved into the folder; the list names their new places:" + Lines(moved);
}

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
    std::optional<WaitCursor> wait(std::in_place);
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
            wait.reset();
            Inform(ChoiceNotKeptText(folder), kWarningTitle);
        }
    });
}

// --- choosing the mail program ---

std::optional<std::wstring> FerrylF::PickMailProgramFile(HWND owner) {
    std::optional<std::wstring> picked;
    ContinueOnError(L"FerrylF.PickMailProgramFile", [&] {
        cmDlg dialog;
        if (ShowOpenDialog(dialog, L"Select E-Mail Program", L"Program Files (*.exe)|*.exe", owner))
            picked = dialog.FileName();
    });
    return picked;  // nothing when cancelled, or when the dialog failed
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
        const std::optional<MailProgramDialogResult> result =
            ShowMailProgramDialog(Hwnd(), m_mailProgramPath, ReadMessageSizeLimitMB(iniFile),
                                  [this](HWND owner) { return PickMailProgramFile(owner); });
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

// --- Send Now ---

void FerrylF::NameCopyInRow(long row, const std::wstring& copy) {
    ContinueOnError(L"NameCopyInRow: name",
                    [&] { m_lista->CellDetails(row, kColumnName, TaggedValue(FileNameOf(copy))); });
    ContinueOnError(L"NameCopyInRow: path", [&] { m_lista->CellDetails(row, kColumnPath, TaggedValue(copy)); });
}

bool FerrylF::GatherFiles(long rows, std::vector<std::wstring>& paths) {
    std::vector<std::wstring> listed(static_cast<size_t>(rows));
    for (long row = 1; row <= rows; ++row)
        ContinueOnError(L"GatherFiles: listed path", [&] {
            listed[static_cast<size_t>(row - 1)] = m_lista->Cell(row, kColumnPath).Text().ToText();
        });
    if (!IsChecked(m_copyC)) {
        paths = listed;
        return true;
    }
    const bool deleteSource = IsChecked(m_deleteC);
    const std::wstring folder = WindowText(m_putanjaT);
    // Two rows may name one file under two spellings; once the file is moved, the second row's
    // spelling leads nowhere, so each file is known by its identity, taken before anything moves.
    std::vector<std::wstring> keys;
    for (const std::wstring& path : listed)
        keys.push_back(deleteSource ? FileIdentityKey(path) : std::wstring());
    std::map<std::wstring, std::wstring> movedTo;
    std::vector<std::wstring> moved, sourcesKept;
    long counter = 0;
    for (long row = 1; row <= rows; ++row) {
        const size_t index = static_cast<size_t>(row - 1);
        const std::wstring& path = listed[index];
        if (auto copy = movedTo.find(keys[index]); deleteSource && copy != movedTo.end()) {
            NameCopyInRow(row, copy->second);
            paths.push_back(copy->second);
            continue;
        }
        // Copying a file beside itself would send the same file under a second name.
        if (LiesInFolder(path, folder)) {
            paths.push_back(path);
            continue;
        }
        CopyOutcome outcome;
        ContinueOnError(L"GatherFiles: CopyToFolder",
                        [&] { outcome = CopyToFolder(path, folder, counter, deleteSource); });
        if (outcome.status == CopyOutcome::Status::FolderMissing) {
            Inform(L"Specified directory does not exist." + MovedNote(moved), kWarningTitle);
            return false;
        }
        if (outcome.status == CopyOutcome::Status::CopyFailed) {
            // Sending the rest would hand the mail program an incomplete list without a word.
            Inform(L"The file \"" + path + L"\" could not be copied to \"" + folder +
                       L"\".\n\nNothing was sent; the copies already made stay in place." + MovedNote(moved),
                   kWarningTitle);
            return false;
        }
        if (outcome.sourceDeleted) {
            movedTo.emplace(keys[index], outcome.target);
            moved.push_back(outcome.target);
            NameCopyInRow(row, outcome.target);
        } else if (deleteSource) {
            sourcesKept.push_back(path);
        }
        paths.push_back(outcome.target);
    }
    if (!sourcesKept.empty())
        Inform(L"The files were copied, but these source files could not be deleted:" + Lines(sourcesKept),
               kWarningTitle);
    return Loaded();
}

bool FerrylF::StartMapiSend(const std::wstring& dll, std::vector<MapiAttachment> files, long rows) {
    // Without the window the call's end would be posted nowhere, and Sending() would stay true.
    if (!Loaded())
        return false;
    const MapiLoad load = LoadMapiLibrary(dll);
    if (!load.library) {
        Inform(load.failure, kWarningTitle);
        return false;
    }
    m_mapiSend = MapiSend::Start(*load.library, std::move(files), Hwnd(), Hwnd(), kMapiDoneMessage);
    m_sendingRows = rows;
    // The client's compose window is modal to this one; the window still paints meanwhile.
    ::EnableWindow(m_send_nowD, FALSE);
    ::EnableWindow(Hwnd(), FALSE);
    return true;
}

void FerrylF::OnMapiSendDone() noexcept {
    // Only the call itself says it has returned: any program can post the message.
    if (!Sending() || !m_mapiSend->Done())
        return;
    const unsigned long result = m_mapiSend->Result();
    m_mapiSend.reset();
    ::EnableWindow(Hwnd(), TRUE);
    ApplySendNowRule();
    ContinueOnError(L"OnMapiSendDone", [&] {
        switch (OutcomeOfMapiResult(result)) {
            case MapiOutcome::Sent:
                FinishSend(m_sendingRows);
                return;
            case MapiOutcome::Cancelled:
                break;
            case MapiOutcome::Failed:
                Inform(MapiFailureText(result), kWarningTitle);
                break;
        }
        if (m_closeAfterSend)
            Unload();
    });
}

void FerrylF::WaitWhileSending() noexcept {
    MSG message;
    while (Sending()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1)
            return;
        // The WM_QUIT of the receiving window's unload may still be queued: the program is ending
        // already, once the client has returned.
        if (got == 0 || PreTranslateMessage(message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool FerrylF::HandOff(const MailTarget& target, const std::vector<std::wstring>& paths, long rows) {
    const std::wstring& clParameters = StartUp().ClParameters;
    if (target.route == MailTarget::Route::Program && target.kind == MailProgramKind::CommandLine) {
        std::vector<std::wstring> shortPaths;
        for (const std::wstring& path : paths)
            shortPaths.push_back(ShortPathOrFull(path));
        const std::wstring arguments = MailArguments(clParameters, shortPaths);
        const std::wstring failure = StartProgram(target.program, MailCommandLine(target.program, arguments));
        if (!failure.empty())
            Inform(failure, kWarningTitle);
        return failure.empty();
    }

    std::vector<std::wstring> missing, forMail;
    for (const std::wstring& path : paths) {
        if (!IsFile(path))
            missing.push_back(path);
        forMail.push_back(PathForMail(path));
    }
    if (!missing.empty()) {
        Inform(L"These listed files no longer exist:" + Lines(missing) + L"\n\nNothing was sent.", kWarningTitle);
        return false;
    }
    if (target.route == MailTarget::Route::Mapi) {
        std::vector<MapiAttachment> files;
        for (size_t i = 0; i < paths.size(); ++i)
            files.push_back({forMail[i], ShortPathOrFull(paths[i])});
        return StartMapiSend(target.mapiDll, std::move(files), rows);
    }

    std::wstring arguments, draft;
    switch (target.kind) {
        case MailProgramKind::Thunderbird:
            arguments = ThunderbirdArguments(clParameters, forMail);
            break;
        case MailProgramKind::Claws:
            arguments = ClawsArguments(clParameters, forMail);
            break;
        case MailProgramKind::Sylpheed: {
            const AnsiCarriedPaths carried = CarryInAnsi(paths, L"Sylpheed");
            if (!carried.failure.empty()) {
                Inform(carried.failure, kWarningTitle);
                return false;
            }
            arguments = SylpheedArguments(clParameters, carried.paths);
            break;
        }
        case MailProgramKind::Outlook:
            arguments = OutlookArguments(clParameters, forMail.front());
            break;
        case MailProgramKind::NewOutlook: {
            const DraftOutcome written = WriteDraftFile(StartUp().TempFolder, forMail);
            if (!written.failure.empty()) {
                Inform(written.failure, kWarningTitle);
                return false;
            }
            draft = written.path;
            arguments = NewOutlookArguments(clParameters, draft);
            break;
        }
        case MailProgramKind::CommandLine:
            break;
    }
    const std::wstring failure = StartProgram(target.program, MailCommandLine(target.program, arguments));
    if (failure.empty())
        return true;
    if (!draft.empty())
        ::DeleteFileW(draft.c_str());  // no program will read it
    Inform(failure, kWarningTitle);
    return false;
}

void FerrylF::FinishSend(long rows) {
    // A handoff whose sender timed out while this thread copied the files or started the program
    // (pumping nothing) still waits in the queue; taken in now, its files count below.
    MSG pending;
    ::PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (!Loaded())
        return;
    // Files that arrived from Explorer while the files were being handed over were not sent: they
    // stay listed, and the window with them, instead of going with the window.
    if (Rows() > rows && !m_closeAfterSend) {
        for (long row = rows; row >= 1; --row)
            ContinueOnError(L"FinishSend: RemoveRow", [&] { m_lista->RemoveRow(row); });
        ContinueOnError(L"FinishSend: CellSelected", [&] { m_lista->CellSelected(1, 1, true); });
        ApplySendNowRule();
        return;
    }
    Unload();
}

void FerrylF::send_nowD_Click() noexcept {
    // A click that arrives while this one waits in a dialog (the program's choice, a warning) is
    // dispatched by that dialog's loop; it must not start a second run over the same rows.
    if (Rows() == 0 || Sending() || m_inSendNow)
        return;
    m_inSendNow = true;
    SendNow();
    m_inSendNow = false;
    // A close that came meanwhile was held back (see WM_CLOSE); it takes effect now, or once a
    // mail client that has the files returns.
    if (m_closeAfterSend && !Sending())
        Unload();
}

void FerrylF::SendNow() noexcept {
    // What is listed now is what is sent; files arriving meanwhile wait for the next Send Now.
    const long rows = Rows();
    std::optional<WaitCursor> wait(std::in_place);
    MailTargetChoice choice;
    ContinueOnError(L"SendNow: ChooseMailTarget", [&] { choice = ChooseMailTarget(rows); });
    // Each step may have shown a dialog, whose loop dispatches whatever comes: the window is
    // checked for after each.
    if (!Loaded())
        return;
    if (choice.status != MailTargetChoice::Status::Chosen) {
        wait.reset();
        if (choice.status == MailTargetChoice::Status::Failed)
            Inform(choice.failure, kWarningTitle);
        else
            Inform(L"E-mail program not specified.", kProgramTitle);
        return;
    }
    std::vector<std::wstring> paths;
    bool gathered = false;
    ContinueOnError(L"SendNow: GatherFiles", [&] { gathered = GatherFiles(rows, paths); });
    if (!gathered || !Loaded())
        return;
    bool handedOff = false;
    ContinueOnError(L"SendNow: HandOff", [&] { handedOff = HandOff(choice.target, paths, rows); });
    wait.reset();
    if (handedOff && !Sending() && Loaded())
        FinishSend(rows);
}

}  // namespace ferryl
