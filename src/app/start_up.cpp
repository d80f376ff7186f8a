#include "app/start_up.h"

#include <objbase.h>
#include <windows.h>

#include "app/delayed_libraries.h"
#include "app/instance.h"
#include "app/shortcut.h"
#include "common/continue_on_error.h"
#include "common/error.h"
#include "common/text.h"
#include "core/command_line.h"
#include "core/path_rules.h"
#include "mail/draft_file.h"
#include "mainwindow/form_steps.h"
#include "settings/erwr.h"
#include "settings/funkcije.h"
#include "settings/ini.h"

namespace ferryl {

namespace {

std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

bool ContainsNoCase(const std::wstring& text, std::wstring_view part) {
    return ToUpper(text).find(ToUpper(part)) != std::wstring::npos;
}

std::wstring ShellFolder(const wchar_t* valueName) {
    return WithBackslash(RegRead(HKEY_CURRENT_USER, kShellFoldersKey, valueName).ToText());
}

}  // namespace

StartUpState& StartUp() {
    static StartUpState state;
    return state;
}

std::wstring ProcessArguments() {
    return ArgumentPart(::GetCommandLineW());
}

void DetectEudora(const std::wstring& registeredCommandLine) noexcept {
    ContinueOnError(L"DetectEudora", [&] {
        std::wstring text = registeredCommandLine;
        std::erase(text, L'"');
        StartUpState& state = StartUp();
        for (const std::wstring& token : SplitAtBlanks(text)) {
            if (ContainsNoCase(token, L"eudora.exe")) {
                if (FileExists(token))
                    state.EudoraProgram = token;
            } else if (ContainsNoCase(token, L".ini") && FileExists(token)) {
                state.EudoraIni = token;
                state.EudoraAttachmentsFolder =
                    WithBackslash(ReadIni(L"Settings", L"AutoReceiveAttachmentsDirectory", token));
            }
        }
    });
}

void PrepareFirstInstance(const std::wstring& programFolder, const std::wstring& programPath) noexcept {
    StartUpState& state = StartUp();
    ContinueOnError(L"PrepareFirstInstance: temporary folder", [&] {
        wchar_t buffer[MAX_PATH + 1] = {};
        DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
        if (length > 0 && length <= MAX_PATH)
            state.TempFolder = Trimmed(std::wstring(buffer, length));
    });
    // Drafts left for the new Outlook by earlier runs; one written today may still be unread.
    ContinueOnError(L"PrepareFirstInstance: RemoveOldDrafts", [&] { RemoveOldDrafts(state.TempFolder); });
    ContinueOnError(L"PrepareFirstInstance: Send To folder", [&] { state.SendMenuFolder = ShellFolder(L"SendTo"); });
    ContinueOnError(L"PrepareFirstInstance: Send To shortcut", [&] {
        const std::wstring link = state.SendMenuFolder + kShortcutName;
        if (!FileExists(link))
            CreateShortcut(link, programPath, kShortcutDescription);
    });
    ContinueOnError(L"PrepareFirstInstance: desktop folder", [&] { state.DesktopFolder = ShellFolder(L"Desktop"); });
    ContinueOnError(L"PrepareFirstInstance: Eudora",
                    [&] { DetectEudora(RegRead(HKEY_CURRENT_USER, kEudoraCommandLineKey, L"current").ToText()); });
    ContinueOnError(L"PrepareFirstInstance: settings file", [&] {
        state.IniFile = programFolder + L"\\Ferryl.ini";
        // FileExists takes network folders too, and the default file is only ever created new, so
        // an existing settings file is never replaced.
        if (!FileExists(state.IniFile))
            WriteDefaultIni(state.IniFile);
    });
    ContinueOnError(L"PrepareFirstInstance: CLParameters",
                    [&] { state.ClParameters = ReadIni(L"Settings", L"CLParameters", state.IniFile); });
}

void Main(InstanceF& instanceF, std::wstring_view commandLine) noexcept {
    const std::wstring folder = ProgramFolder();
    ContinueOnError(L"Main: current folder", [&] { ::SetCurrentDirectoryW(folder.c_str()); });
    bool first = true;
    ContinueOnError(L"Main: IsFirstInstance", [&] { first = IsFirstInstance(InstanceMutexName()); });
    HandoffOutcome outcome = HandoffOutcome::NowFirst;
    if (!first) {
        outcome = HandoffOutcome::NoneAnswered;
        ContinueOnError(L"Main: HandOffWithRetries", [&] { outcome = HandOffWithRetries(commandLine); });
        if (outcome == HandoffOutcome::HandedOver)
            return;
        // NowFirst: the running instance ended meanwhile, and this one holds the mutex now.
        // NoneAnswered: an instance holds the mutex but took nothing for seconds (stuck in its
        // start-up, or no instance of ours at all); NotKept: its receiver was busy and the spool
        // folder could not keep the files. This process lists the files itself, without the
        // mutex, rather than drop them.
    }
    // This process is going to list the files: it needs every library a window or a dialog uses.
    std::wstring failure = L"Ferryl Handler cannot start.";
    ContinueOnError(L"Main: LoadDelayedLibraries", [&] { failure = LoadDelayedLibraries(); });
    if (!failure.empty()) {
        ReleaseInstanceMutex();  // a later start need not wait for this one
        ::MessageBoxW(nullptr, failure.c_str(), kWarningTitle, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // Only the first instance needs COM (the shell link object, later the main window's dialogs);
    // a second start stays cheap without it. The apartment lasts as long as the process.
    ContinueOnError(L"Main: CoInitializeEx", [] { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); });
    PrepareFirstInstance(folder, ProgramPath());
    // A receiver without the mutex may run (a start that no instance answered, while this one was
    // starting or the last one closing): it takes the files and then the mutex, so that one
    // receiver serves. Not the busy one that took nothing just now: this start would only wait out
    // its time-out again.
    HandoffResult handoff = HandoffResult::NoReceiver;
    if (outcome != HandoffOutcome::NotKept)
        ContinueOnError(L"Main: HandOffToRunningInstance", [&] { handoff = HandOffToRunningInstance(commandLine); });
    if (handoff == HandoffResult::Delivered || handoff == HandoffResult::Kept) {
        ReleaseInstanceMutex();
        return;
    }
    instanceF.Load(commandLine);
}

void RunWhileLoaded(InstanceF& instanceF) noexcept {
    RunWhileLoaded(instanceF, [](MSG&) { return false; });
}

void RunWhileLoaded(InstanceF& instanceF, const std::function<bool(MSG&)>& preTranslate) noexcept {
    // The loop tests Loaded() only when GetMessageW returns, and GetMessageW dispatches messages
    // sent from other processes itself without returning: an unload they cause (a Send Now
    // clicked through a message from a screen reader or an automation tool) would leave the
    // process waiting with no window at all. The WM_QUIT the unload posts ends the loop instead.
    instanceF.QuitMessageLoopOnUnload(true);
    MSG message;
    while (instanceF.Loaded() && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        bool handled = false;
        ContinueOnError(L"RunWhileLoaded: PreTranslateMessage",
                        [&] { handled = preTranslate && preTranslate(message); });
        if (handled)
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    instanceF.QuitMessageLoopOnUnload(false);
}

}  // namespace ferryl
