// End to end: choosing the mail program in the real Ferryl.exe. A program Windows registers only
// under App Paths is listed, kept by its bare name and found again after it moves; a chosen
// program that is gone is named, the chooser opens and the list stays; a settings file that cannot
// be written is told once; and the dialog keeps its parts whole at 96, 144 and 192 DPI.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/ferryl_session.h"
#include "mail/app_paths.h"
#include "mainwindow/resource.h"
#include "support/mime_reader.h"

namespace ferryl::test {
namespace {

// The E-Mail Program dialog once it shows: it is found before its controls are made.
HWND ShownChooser() {
    HWND dialog = nullptr;
    PumpUntil([&] { return (dialog = ::FindWindowW(L"#32770", L"E-Mail Program")) && ::IsWindowVisible(dialog); },
              10000);
    return dialog;
}

// File > E-Mail Program... of the running program.
HWND OpenChooser() {
    ::PostMessageW(MainWindow(), WM_COMMAND, IDM_MAIL_PROGRAM, 0);
    return ShownChooser();
}

std::vector<std::wstring> Entries(HWND dialog) {
    const HWND list = ::GetDlgItem(dialog, IDC_MAIL_CLIENTS);
    std::vector<std::wstring> entries;
    for (LRESULT i = 0, count = ::SendMessageW(list, LB_GETCOUNT, 0, 0); i < count; ++i) {
        wchar_t text[512]{};
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

// Selects the entry whose text begins so, as a click does, and confirms the dialog with OK.
bool ChooseEntry(HWND dialog, const std::wstring& start) {
    const std::vector<std::wstring> entries = Entries(dialog);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].rfind(start, 0) != 0)
            continue;
        const HWND list = ::GetDlgItem(dialog, IDC_MAIL_CLIENTS);
        ::SendMessageW(list, LB_SETCURSEL, i, 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MAIL_CLIENTS, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        return PumpUntil([&] { return !::IsWindow(dialog); });
    }
    return false;
}

class MailProgramChoiceTest : public FerrylSession {
  protected:
    // The stand-in mail program copied into a folder, under a name.
    static std::wstring PlaceRecorder(const TempFolder& folder, const wchar_t* name) {
        const std::wstring path = folder / name;
        EXPECT_TRUE(::CopyFileW((ProgramFolder() + L"\\e2e_mail_recorder.exe").c_str(), path.c_str(), FALSE));
        return path;
    }
    void RegisterOlk(const std::wstring& path) {
        Keep(HKEY_CURRENT_USER, std::wstring(kAppPathsKey) + L"\\olk.exe", L"", Quoted(path));
    }
};

TEST_F(MailProgramChoiceTest, AProgramRegisteredUnderAppPathsIsListedKeptByItsNameAndFoundAfterItMoves) {
    TempFolder first, second;
    RegisterOlk(PlaceRecorder(first, L"olk.exe"));
    const std::wstring file = files.WriteFile(L"a b.txt", "moved along");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(file)));
    const HWND dialog = OpenChooser();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ChooseEntry(dialog, L"Outlook (new). Opens a new message in Outlook (new).")) << [&] {
        std::wstring all;
        for (const std::wstring& entry : Entries(dialog))
            all += L"\n" + entry;
        return all;
    }();
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", ini), L"olk.exe") << "its name, not its place";

    // An update moves the program and its App Paths key with it.
    ::DeleteFileW((first / L"olk.exe").c_str());
    RegisterOlk(PlaceRecorder(second, L"olk.exe"));
    const std::vector<std::wstring> argv = SplitCommandLine(SendAndRecord(ferryl, second / L"command_line.txt"));
    ASSERT_EQ(argv.size(), 2u) << "the program and its draft";
    const auto message = ReadMime(ReadFileBytes(argv[1]));
    ::DeleteFileW(argv[1].c_str());
    ASSERT_TRUE(message);
    ASSERT_EQ(message->parts.size(), 2u);
    EXPECT_EQ(message->parts[1].Decoded(), "moved along");
}

TEST_F(MailProgramChoiceTest, AChosenProgramThatIsGoneIsNamedTheChooserOpensAndTheListStays) {
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
    const std::wstring file = files.WriteFile(L"x.txt");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        WriteIni(L"Settings", L"MailProgram", c.setting, ini);
        if (c.registerOlk)
            RegisterOlk(goneOlk);
        ChildProcess ferryl;
        ASSERT_TRUE(StartFerryl(ferryl, file));
        PressSendNow();
        EXPECT_TRUE(AnswerBox(kWarningTitle, {c.told, L"Choose the mail program"}));
        const HWND dialog = ShownChooser();
        ASSERT_TRUE(dialog) << "the chooser opens";
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(AnswerBox(L"Ferryl Handler", {L"E-mail program not specified."}));
        EXPECT_TRUE(PumpUntil([] { return ::IsWindowEnabled(PanelChild(L"&Send Now")); })) << "the list stays";
        EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", ini), c.setting) << "nothing else was chosen";
        ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(ferryl.WaitForExit());
    }
    EXPECT_FALSE(FileExists(record)) << "no program was started";

    // What is chosen in the chooser then takes the files.
    InstallMapiProvider(L"Ferryl Test Client", false);
    WriteIni(L"Settings", L"MailProgram", gone, ini);
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, file));
    PressSendNow();
    EXPECT_TRUE(AnswerBox(kWarningTitle, {gone}));
    const HWND dialog = ShownChooser();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ChooseEntry(dialog, L"Ferryl Test Client. "));
    ASSERT_TRUE(ferryl.WaitForExit([&] { return !mapi.SentPaths().empty(); }));
    EXPECT_EQ(mapi.SentPaths(), std::vector<std::wstring>{file});
}

TEST_F(MailProgramChoiceTest, ASettingsFileThatCannotBeWrittenIsToldOncePerRunNamingItAndWhy) {
    // A folder where Ferryl.ini should be: no write reaches it, under Wine as root too, which
    // writes read-only files regardless.
    ASSERT_TRUE(::DeleteFileW(ini.c_str()) && ::CreateDirectoryW(ini.c_str(), nullptr));
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, files.WriteFile(L"x.txt")));
    HWND dialog = OpenChooser();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ChooseEntry(dialog, L"Choose automatically. "));
    EXPECT_TRUE(AnswerBox(kWarningTitle, {L"The settings cannot be kept", Quoted(ini), L"(error "}));
    // A second write fails too, without a second word: the box would come before the next command.
    dialog = OpenChooser();
    ASSERT_TRUE(dialog);
    ::SetDlgItemTextW(dialog, IDC_MAIL_SIZE_LIMIT, L"10");
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); }));
    dialog = OpenChooser();
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(::FindWindowW(L"#32770", kWarningTitle));
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(ferryl.WaitForExit()) << "and none when the window's place is not kept at the end";
    EXPECT_TRUE(::RemoveDirectoryW(ini.c_str())) << "nothing was written into it";
}

TEST_F(MailProgramChoiceTest, TheDialogKeepsEveryPartWholeAt96144And192Dpi) {
    // A long current choice, so that it must wrap.
    const std::wstring deep =
        programFolder.MakeFolder(L"A folder with a long name for the mail program") + L"\\and another folder inside it";
    ::CreateDirectoryW(deep.c_str(), nullptr);
    const std::wstring claws = deep + L"\\claws-mail.exe";
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"\\e2e_mail_recorder.exe").c_str(), claws.c_str(), FALSE));
    const std::wstring file = files.WriteFile(L"x.txt");
    for (const DWORD dpi : {96u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        // Wine takes the system DPI from LogPixels when a program starts. The one-character text
        // and its terminator are the four bytes of the DWORD.
        Keep(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", std::wstring(1, static_cast<wchar_t>(dpi)),
             REG_DWORD);
        WriteIni(L"Settings", L"MailProgram", claws, ini);
        ChildProcess ferryl;
        ASSERT_TRUE(StartFerryl(ferryl, file));
        const HWND dialog = OpenChooser();
        ASSERT_TRUE(dialog);
        // Every control inside the dialog, and none over another.
        RECT client{};
        ::GetClientRect(dialog, &client);
        std::vector<RECT> places;
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            RECT place{}, overlap{};
            ::GetWindowRect(child, &place);
            ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
            EXPECT_TRUE(::IntersectRect(&overlap, &place, &client) && ::EqualRect(&overlap, &place))
                << "inside the dialog, control " << ::GetDlgCtrlID(child);
            for (const RECT& other : places)
                EXPECT_FALSE(::IntersectRect(&overlap, &place, &other))
                    << "no overlap, control " << ::GetDlgCtrlID(child);
            places.push_back(place);
        }
        // The choice: its lines all shown, or a scroll bar to reach them.
        const HWND choice = ::GetDlgItem(dialog, IDC_MAIL_CHOICE);
        const auto lines = ::SendMessageW(choice, EM_GETLINECOUNT, 0, 0);
        ASSERT_GE(lines, 2);
        const auto second = ::SendMessageW(choice, EM_POSFROMCHAR, ::SendMessageW(choice, EM_LINEINDEX, 1, 0), 0);
        const auto first = ::SendMessageW(choice, EM_POSFROMCHAR, 0, 0);
        const int lineHeight = HIWORD(second) - HIWORD(first);
        RECT box{};
        ::GetClientRect(choice, &box);
        const bool scrolls = (::GetWindowLongW(choice, GWL_STYLE) & WS_VSCROLL) != 0;
        EXPECT_TRUE(lines * lineHeight <= box.bottom || scrolls) << lines << " lines of " << lineHeight;
        EXPECT_GE(lineHeight, ::MulDiv(12, static_cast<int>(dpi), 96)) << "the font follows the DPI";
        // Each entry has room for its two lines.
        const auto itemHeight = ::SendMessageW(::GetDlgItem(dialog, IDC_MAIL_CLIENTS), LB_GETITEMHEIGHT, 0, 0);
        EXPECT_GE(itemHeight, 2 * lineHeight);
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(ferryl.WaitForExit());
    }
}

}  // namespace
}  // namespace ferryl::test
