// End to end: the mail program of the real Ferryl.exe. Simple MAPI clients through a recording
// stand-in provider: one that fails, one that holds the call, one whose DLL is 32-bit. A chosen
// program that is gone is named and the chooser opens; a settings file that cannot be written is told. (What each kind
// of program reads from its arguments is checked in mail_readers_test.)

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/pe_machine.h"
#include "e2e/ferryl_session.h"
#include "mail/app_paths.h"
#include "mainwindow/form_steps.h"
#include "mainwindow/resource.h"
#include "support/pe_head.h"

namespace ferryl::test {
namespace {

constexpr wchar_t kClient[] = L"Ferryl Test Client";

// The E-Mail Program dialog once it shows (found before its controls are made); opened when asked.
HWND ShownChooser(bool open = false) {
    if (open)
        ::PostMessageW(MainWindow(), WM_COMMAND, IDM_MAIL_PROGRAM, 0);
    HWND dialog = nullptr;
    PumpUntil([&] { return (dialog = ::FindWindowW(L"#32770", L"E-Mail Program")) && ::IsWindowVisible(dialog); },
              10000);
    return dialog;
}

// Selects the entry whose text begins so, as a click does, and OK: empty once gone, else the entries.
std::wstring ChooseEntry(HWND dialog, const std::wstring& start) {
    const HWND list = ::GetDlgItem(dialog, IDC_MAIL_CLIENTS);
    std::wstring entries;
    for (LRESULT i = 0, count = ::SendMessageW(list, LB_GETCOUNT, 0, 0); i < count; ++i) {
        wchar_t text[512]{};
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries += L"\n" + std::wstring(text);
        if (std::wstring(text).starts_with(start)) {
            ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MAIL_CLIENTS, LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(list));
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            return PumpUntil([&] { return !::IsWindow(dialog); }) ? L"" : L"(still open)";
        }
    }
    return entries.empty() ? L"(no entries)" : entries;
}

class MailProgramsTest : public FerrylSession {
  protected:
    // Closes the window, and the dialog first when one is given; true once the program has ended.
    static bool CloseAll(ChildProcess& ferryl, HWND dialog = nullptr) {
        if (dialog)
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
        return ferryl.WaitForExit();
    }
    // The stand-in provider as a client named in MailProgram, not the default: Wine's own stays that.
    void UseNamedClient() {
        WriteIni(L"Settings", L"MailProgram", std::wstring(L"MAPI:") + kClient, ini);
        InstallMapiProvider(kClient, false);
    }
    // Send Now with the blank's file, and the client holding the call.
    void SendWhileTheClientHolds(ChildProcess& ferryl) {
        UseNamedClient();
        mapi.Hold();
        ASSERT_TRUE(StartFerryl(ferryl, Quoted(blank)));
        PressSendNow();
        ASSERT_TRUE(PumpUntil([&] { return !mapi.Calls().empty(); }));
    }
    std::vector<std::wstring> MapiRecordOf(const std::vector<std::wstring>& paths) const {
        std::vector<std::wstring> lines{L"call=MAPISendMailW", L"flags=9", L"parent=window", L"recipients=0",
                                        L"files=" + std::to_wstring(paths.size())};
        for (const std::wstring& path : paths)
            lines.push_back(L"file=" + path + L"|" + FileNameOf(path) + L"|-1");
        return lines;
    }

    const std::wstring blank = files.WriteFile(L"a b.txt", "blank");
    const std::wstring comma = files.WriteFile(L"x,1.txt", "comma");
};

TEST_F(MailProgramsTest, ANamedClientThatFailsLeavesTheWindowAndTheListWithAWarningAndTakesThemAgain) {
    UseNamedClient();
    mapi.SetResult("2");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(blank) + L" " + comma));
    PressSendNow();
    EXPECT_TRUE(AnswerBox(kWarningTitle, {L"The mail client failed", L"MAPI_E_FAILURE"}));
    ASSERT_TRUE(MainWindow()) << "the window stays";
    EXPECT_TRUE(PumpUntil([] { return ::IsWindowEnabled(MainWindow()); }) && SendNowEnabled());
    // The same list goes again, and this time the client takes it.
    mapi.SetResult("0");
    ::DeleteFileW(mapi.File(L"mapi_record.txt").c_str());
    SendAndRecord(ferryl, mapi.File(L"mapi_record.txt"));
    EXPECT_EQ(mapi.Record(), MapiRecordOf({blank, comma}));
}

TEST_F(MailProgramsTest, WhileTheClientHasTheFilesTheWindowPaintsAndKeepsFilesThatCome) {
    ChildProcess ferryl;
    SendWhileTheClientHolds(ferryl);
    ASSERT_FALSE(HasFatalFailure());
    const HWND main = MainWindow();
    // The window paints: what is invalidated is validated again by the window's own thread.
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    EXPECT_TRUE(PumpUntil([&] { return !::GetUpdateRect(main, nullptr, FALSE); }, 3000));
    EXPECT_FALSE(::IsWindowEnabled(main));
    EXPECT_FALSE(::IsWindowEnabled(PanelChild(L"&Send Now")));
    // A later start's file, the call's end posted by another program (only the call itself says it
    // has returned) and a second Send Now, all while the call runs.
    ChildProcess later;
    ASSERT_TRUE(later.Start(exe, Quoted(comma)));
    ASSERT_TRUE(later.WaitForExit());
    ::PostMessageW(main, kMapiDoneMessage, 0, 0);
    PressSendNow();
    ::PostMessageW(main, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PostedMessagesHandled(PanelChild(L"&Copy To")));
    EXPECT_FALSE(::IsWindowEnabled(main)) << "the window waits for the client";
    EXPECT_EQ(mapi.Calls(), L"MAPISendMailW\n") << "one call at a time";
    mapi.Release();
    // The sent file goes from the list; the one that came stays, with the window, to be sent next.
    ASSERT_TRUE(SendNowEnabled());
    EXPECT_EQ(mapi.Record(), MapiRecordOf({blank}));
    ::DeleteFileW(mapi.File(L"mapi_record.txt").c_str());
    SendAndRecord(ferryl, mapi.File(L"mapi_record.txt"));
    EXPECT_EQ(mapi.Record(), MapiRecordOf({comma}));
}

TEST_F(MailProgramsTest, AClosedWindowEndsTheProgramOnlyOnceTheClientHasReturned) {
    ChildProcess ferryl;
    SendWhileTheClientHolds(ferryl);
    ASSERT_FALSE(HasFatalFailure());
    const HWND main = MainWindow();
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PostedMessagesHandled(PanelChild(L"&Copy To")));
    EXPECT_EQ(MainWindow(), main) << "the window waits for the client";
    // The Restart Manager closes every top-level window, the hidden receiving window too: once that
    // is gone, the process still waits.
    const HWND receiver = ::FindWindowW(L"FerrylInstanceF", nullptr);
    ASSERT_TRUE(receiver);
    ::PostMessageW(receiver, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(receiver); }));
    EXPECT_FALSE(ferryl.Exited()) << "the client still reads the files inside the program's process";
    mapi.Release();
    ASSERT_TRUE(ferryl.WaitForExit()) << "the program ends once the client has returned";
    EXPECT_EQ(mapi.Calls(), L"MAPISendMailW\n");
    // Written only after the release: a process that ended before would have ended the call too.
    EXPECT_EQ(mapi.Record(), MapiRecordOf({blank})) << "the client got to the end of its call";
}

TEST_F(MailProgramsTest, ADefaultClientWithA32BitDllIsNamedAsSuch) {
    WriteIni(L"Settings", L"MailProgram", L"", ini);
    // The headers of a 32-bit DLL, as a 32-bit Office registers its MAPI DLL.
    const std::wstring dll = programFolder.WriteFile(L"olmapi32.dll", PeHead(kMachineI386, 0x80, 0x200));
    Keep(HKEY_LOCAL_MACHINE, std::wstring(kMailClientsKey) + L"\\" + kClient, L"DLLPath", dll);
    Keep(HKEY_LOCAL_MACHINE, kMailClientsKey, L"", std::wstring(kClient));
    Keep(HKEY_CURRENT_USER, kMailClientsKey, L"", std::nullopt);
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(blank)));
    PressSendNow();
    EXPECT_TRUE(AnswerBox(kWarningTitle, {Quoted(dll) + L" is a 32-bit DLL", L"64-bit program"}));
    EXPECT_TRUE(MainWindow()) << "the window stays with its list";
    EXPECT_TRUE(CloseAll(ferryl));
}

TEST_F(MailProgramsTest, AChosenProgramThatIsGoneIsNamedTheChooserOpensAndTheListStays) {
    const std::wstring gone = programFolder / L"Mail Program\\thunderbird.exe";
    const std::wstring goneOlk = programFolder / L"Old\\olk.exe";
    const struct {
        std::wstring setting;
        std::wstring told;
        bool registerOlk;
    } cases[] = {
        {gone, L"The mail program \"" + gone + L"\" no longer exists.", false},
        {L"olk.exe", L"The mail program \"olk.exe\" is no longer registered on this computer.", false},
        {L"olk.exe", L"no longer exists at \"" + goneOlk + L"\"", true},
        {L"MAPI:Ferryl Gone Client", L"The mail client \"Ferryl Gone Client\" is no longer registered", false},
    };
    const std::wstring& file = comma;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        WriteIni(L"Settings", L"MailProgram", c.setting, ini);
        if (c.registerOlk)
            Keep(HKEY_CURRENT_USER, std::wstring(kAppPathsKey) + L"\\olk.exe", L"", Quoted(goneOlk));
        ChildProcess ferryl;
        ASSERT_TRUE(StartFerryl(ferryl, file));
        PressSendNow();
        EXPECT_TRUE(AnswerBox(kWarningTitle, {c.told, L"Choose the mail program"}));
        ASSERT_TRUE(ShownChooser()) << "the chooser opens";
        ::PostMessageW(ShownChooser(), WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(AnswerBox(L"Ferryl Handler", {L"E-mail program not specified."}));
        EXPECT_TRUE(SendNowEnabled()) << "the list stays";
        EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", ini), c.setting) << "nothing else was chosen";
        ASSERT_TRUE(CloseAll(ferryl));
    }
    EXPECT_FALSE(FileExists(record)) << "no program was started";

    // What is chosen in the chooser then takes the files.
    InstallMapiProvider(L"Ferryl Test Client", false);
    WriteIni(L"Settings", L"MailProgram", gone, ini);
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, file));
    PressSendNow();
    EXPECT_TRUE(AnswerBox(kWarningTitle, {gone}));
    ASSERT_EQ(ChooseEntry(ShownChooser(), L"Ferryl Test Client. "), L"");
    ASSERT_TRUE(ferryl.WaitForExit([&] { return !mapi.SentPaths().empty(); }));
    EXPECT_EQ(mapi.SentPaths(), std::vector<std::wstring>{file});
}

TEST_F(MailProgramsTest, ASettingsFileThatCannotBeWrittenIsToldNamingItAndWhy) {
    // A folder where Ferryl.ini should be: no write reaches it, under Wine as root too, which
    // writes read-only files regardless.
    ASSERT_TRUE(::DeleteFileW(ini.c_str()) && ::CreateDirectoryW(ini.c_str(), nullptr));
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, comma));
    ASSERT_EQ(ChooseEntry(ShownChooser(true), L"Choose automatically. "), L"");
    EXPECT_TRUE(AnswerBox(kWarningTitle, {L"The settings cannot be kept", Quoted(ini), L"(error "}));
    EXPECT_TRUE(CloseAll(ferryl));
    EXPECT_TRUE(::RemoveDirectoryW(ini.c_str())) << "nothing was written into it";
}

}  // namespace
}  // namespace ferryl::test
