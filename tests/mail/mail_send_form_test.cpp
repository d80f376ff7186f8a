// The main window's Send Now through Simple MAPI, in this process: the call runs while the window
// goes on, the rows it sends stay until it returns (whatever else posts its done message), files
// that came meanwhile stay listed with row 1 selected, and a close that comes while Send Now runs
// waits for it. Copy To tells files apart by their identity. And the E-Mail Program dialog,
// driven from the keyboard.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "app/intake.h"
#include "app/start_up_state.h"
#include "common/module_path.h"
#include "mail/mail_clients.h"
#include "mail/program_start.h"
#include "mainwindow/ferryl_form.h"
#include "mainwindow/form_steps.h"
#include "mainwindow/resource.h"
#include "settings/funkcije.h"
#include "settings/ini.h"
#include "support/messages.h"
#include "support/registry_scope.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

using test::PumpUntil;
using test::RegistryValueScope;
using test::TempFolder;

constexpr wchar_t kClient[] = L"Ferryl Form Client";

std::wstring Beside(const wchar_t* name) {
    return ProgramFolder() + L"\\" + name;
}

void Touch(const wchar_t* name) {
    HANDLE file = ::CreateFileW(Beside(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(file);
}

// The provider's record as text, "" while there is none.
std::wstring RecordText(const wchar_t* name) {
    const std::string bytes = test::ReadFileBytes(Beside(name));
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

// The paths the provider was given, in order.
std::vector<std::wstring> RecordedPaths() {
    std::vector<std::wstring> paths;
    const std::wstring text = RecordText(L"mapi_record.txt");
    for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        const std::wstring line = text.substr(start, end - start);
        if (line.rfind(L"file=", 0) == 0)
            paths.push_back(line.substr(5, line.find(L'|') - 5));
    }
    return paths;
}

class MailFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Clean();
        StartUp() = StartUpState{};
        StartUp().IniFile = folder / L"Ferryl.ini";
        StartUp().TempFolder = folder.Path() + L"\\";
        WriteDefaultIni(StartUp().IniFile);
    }
    void TearDown() override {
        form.SetInstanceWindow(nullptr);
        form.Unload();
        StartUp() = StartUpState{};
        Clean();
    }
    static void Clean() {
        for (const wchar_t* name : {L"mapi_record.txt", L"mapi_result.txt", L"mapi_calls.txt", L"mapi_thread.txt",
                                    L"mapi_hold", L"mapi_release"})
            ::DeleteFileW(Beside(name).c_str());
    }

    // Copy To into dest, with "&Delete source files" as asked.
    void TickCopyTo(const std::wstring& dest, bool deleteSource) {
        ::SendMessageW(form.copyC(), BM_SETCHECK, BST_CHECKED, 0);
        form.copyC_Click();
        ::SendMessageW(form.deleteC(), BM_SETCHECK, deleteSource ? BST_CHECKED : BST_UNCHECKED, 0);
        ::SetWindowTextW(form.putanjaT(), (dest + L"\\").c_str());
    }
    void UseTheClient() { WriteIni(L"Settings", L"MailProgram", std::wstring(L"MAPI:") + kClient, StartUp().IniFile); }

    TempFolder folder;
    RegistryValueScope client{HKEY_CURRENT_USER, std::wstring(kMailClientsKey) + L"\\" + kClient, L"DLLPath",
                              Beside(L"e2e_mapi_provider.dll")};
    FerrylF form;
};

TEST_F(MailFormTest, TheSentRowsStayUntilTheClientReturnsAndLaterFilesStayListedWithRowOneSelected) {
    WriteIni(L"Settings", L"MailProgram", std::wstring(L"MAPI:") + kClient, StartUp().IniFile);
    const std::wstring a = folder.WriteFile(L"a.txt"), b = folder.WriteFile(L"b.txt"), c = folder.WriteFile(L"c.txt");
    AddFilesToList(a, form);
    ASSERT_EQ(form.Rows(), 1);
    Touch(L"mapi_hold");
    form.send_nowD_Click();
    ASSERT_TRUE(form.Sending()) << "the call runs on while Send Now has returned";
    ASSERT_TRUE(PumpUntil([] { return !test::ReadFileBytes(Beside(L"mapi_calls.txt")).empty(); }));
    EXPECT_FALSE(::IsWindowEnabled(form.Hwnd()));
    EXPECT_FALSE(::IsWindowEnabled(form.send_nowD()));

    // Files arrive meanwhile; the intake's enabling waits for the call, and the sent row stays.
    AddFilesToList(b + L" " + c, form);
    ASSERT_EQ(form.Rows(), 3);
    EXPECT_FALSE(::IsWindowEnabled(form.send_nowD()));
    form.Lista()->SelectedRow(1);
    form.RemoveSelectedFile();
    EXPECT_EQ(form.Rows(), 3) << "the row being sent stays";
    form.send_nowD_Click();
    EXPECT_EQ(test::ReadFileBytes(Beside(L"mapi_calls.txt")),
              std::string("M\0A\0P\0I\0S\0e\0n\0d\0M\0a\0i\0l\0W\0\n\0", 28))
        << "no second call";
    form.Lista()->SelectedRow(3);

    Touch(L"mapi_release");
    ASSERT_TRUE(PumpUntil([&] { return !form.Sending(); }, 10000));
    ASSERT_TRUE(form.Loaded()) << "the window stays for the files that came later";
    ASSERT_EQ(form.Rows(), 2);
    EXPECT_EQ(form.CellText(1, kColumnPath), b);
    EXPECT_EQ(form.CellText(2, kColumnPath), c);
    EXPECT_EQ(form.Lista()->SelectedRow(), 1) << "as after every removal";
    EXPECT_TRUE(::IsWindowEnabled(form.Hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(form.send_nowD()));
}

// The control with the keyboard focus in the thread that runs the dialog, once the dialog has
// given it one.
HWND FocusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    for (int i = 0; i < 200; ++i) {
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info);
        if (info.hwndFocus && ::IsChild(dialog, info.hwndFocus))
            return info.hwndFocus;
        ::Sleep(10);
    }
    return nullptr;
}

// Waits on its own thread for a dialog of this process with the caption, then runs the steps on
// it. A dialog the steps leave open is cancelled, so that a failing test does not hang.
class DialogDriver {
  public:
    DialogDriver(const wchar_t* caption, std::function<void(HWND)> steps)
        : m_thread([caption, steps = std::move(steps), this] {
              HWND dialog = nullptr;
              for (int i = 0; i < 500 && !(dialog = ::FindWindowW(L"#32770", caption)); ++i)
                  ::Sleep(20);
              if (!dialog)
                  return;
              m_found = true;
              FocusOf(dialog);
              steps(dialog);
              for (int i = 0; i < 250 && ::IsWindow(dialog); ++i)
                  ::Sleep(20);
              for (int i = 0; i < 10; ++i) {
                  HWND open = ::FindWindowW(L"#32770", nullptr);
                  DWORD process = 0;
                  if (!open || (::GetWindowThreadProcessId(open, &process), process != ::GetCurrentProcessId()))
                      break;
                  ::PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
                  ::Sleep(200);
              }
          }) {}
    ~DialogDriver() { m_thread.join(); }
    bool Found() const { return m_found; }

  private:
    std::atomic<bool> m_found{false};
    std::thread m_thread;
};

void PressKey(HWND dialog, WPARAM key) {
    ::PostMessageW(FocusOf(dialog), WM_KEYDOWN, key, 1);
    ::PostMessageW(FocusOf(dialog), WM_KEYUP, key, 0xC0000001);
    ::Sleep(100);
}

TEST_F(MailFormTest, TheDialogChoosesARegisteredClientFromTheKeyboard) {
    RegistryValueScope defaultClient(HKEY_CURRENT_USER, kMailClientsKey, L"", kClient);
    const std::vector<MailClient> clients = RegisteredMailClients();
    ASSERT_FALSE(clients.empty());
    ASSERT_TRUE(form.Load());
    std::wstring shown;
    DialogDriver driver(L"E-Mail Program", [&](HWND dialog) {
        // The list has the focus: after the entry for the default client, the first client.
        PressKey(dialog, VK_HOME);
        PressKey(dialog, VK_DOWN);
        wchar_t text[512]{};
        ::GetDlgItemTextW(dialog, IDC_MAIL_CHOICE, text, 512);
        shown = text;
        PressKey(dialog, VK_RETURN);
    });
    // File > E-Mail Program...: the last item, after a separator; the others keep their places.
    HMENU file = ::GetSubMenu(::GetMenu(form.Hwnd()), 0);
    const int items = ::GetMenuItemCount(file);
    ASSERT_EQ(items, 8);
    wchar_t text[64]{};
    ::GetMenuStringW(file, items - 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&E-Mail Program...");
    EXPECT_EQ(::GetMenuItemID(file, items - 1), static_cast<UINT>(IDM_MAIL_PROGRAM));
    EXPECT_EQ(::GetMenuState(file, items - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(::GetMenuItemID(file, 0), static_cast<UINT>(IDM_ADD));
    EXPECT_EQ(::GetMenuItemID(file, 5), static_cast<UINT>(IDM_PROPERTIES));
    ::SendMessageW(form.Hwnd(), WM_COMMAND, IDM_MAIL_PROGRAM, 0);
    ASSERT_TRUE(driver.Found());
    EXPECT_EQ(shown, clients.front().name + L" (Simple MAPI)");
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", StartUp().IniFile), L"MAPI:" + clients.front().name);
    EXPECT_EQ(form.MailProgramPath(), L"MAPI:" + clients.front().name);
}

TEST_F(MailFormTest, TheDialogMarksTheDefaultAndEscapeChangesNothing) {
    RegistryValueScope defaultClient(HKEY_CURRENT_USER, kMailClientsKey, L"", kClient);
    WriteIni(L"Settings", L"MailProgram", L"C:\\mail.exe", StartUp().IniFile);
    ASSERT_TRUE(form.Load());
    std::vector<std::wstring> listed;
    std::wstring shown;
    DialogDriver driver(L"E-Mail Program", [&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_MAIL_CLIENTS);
        const auto count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[512]{};
            ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            listed.push_back(text);
        }
        wchar_t text[512]{};
        ::GetDlgItemTextW(dialog, IDC_MAIL_CHOICE, text, 512);
        shown = text;
        PressKey(dialog, VK_DOWN);
        PressKey(dialog, VK_ESCAPE);
    });
    form.ChooseMailProgram();
    ASSERT_TRUE(driver.Found());
    EXPECT_NE(std::find(listed.begin(), listed.end(), std::wstring(kClient) + L" (default)"), listed.end());
    EXPECT_EQ(shown, L"C:\\mail.exe") << "the current choice";
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", StartUp().IniFile), L"C:\\mail.exe");
}

TEST_F(MailFormTest, OtherProgramStoresTheShortFormOfThePickedProgram) {
    const std::wstring program = folder.WriteFile(L"\u65E5\u672C mail.exe");
    ASSERT_TRUE(form.Load());
    DialogDriver driver(L"E-Mail Program", [&](HWND dialog) {
        // Alt+O, the button's mnemonic, opens the file dialog.
        ::PostMessageW(FocusOf(dialog), WM_SYSCHAR, L'o', 1 << 29);
        HWND files = nullptr;
        for (int i = 0; i < 300 && !(files = ::FindWindowW(L"#32770", L"Select E-Mail Program")); ++i)
            ::Sleep(20);
        if (!files)
            return;
        // The file name box: the combo box cmb13 (Explorer style) or the edit edt1.
        HWND name = ::GetDlgItem(files, 0x47C);
        name = name ? name : ::GetDlgItem(files, 0x480);
        ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(program.c_str()));
        ::PostMessageW(files, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 300 && ::IsWindow(files); ++i)
            ::Sleep(20);
        ::Sleep(100);
        PressKey(dialog, VK_RETURN);  // the focus is on OK once a program is picked
    });
    form.ChooseMailProgram();
    ASSERT_TRUE(driver.Found());
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", StartUp().IniFile), ShortPathName(program));
}

TEST_F(MailFormTest, OnlyTheCallItselfEndsTheSendAndItsThreadIsSystemAware) {
    UseTheClient();
    AddFilesToList(folder.WriteFile(L"a.txt"), form);
    Touch(L"mapi_hold");
    form.send_nowD_Click();
    ASSERT_TRUE(form.Sending());
    ASSERT_TRUE(PumpUntil([] { return !RecordText(L"mapi_calls.txt").empty(); }));
    // A DPI-unaware client's compose window is scaled by the system rather than drawn tiny.
    EXPECT_EQ(RecordText(L"mapi_thread.txt"), L"awareness=1") << "DPI_AWARENESS_SYSTEM_AWARE";

    // Any program can post the message, saying what it likes (0: sent).
    ::PostMessageW(form.Hwnd(), kMapiDoneMessage, 0, 0);
    test::PumpMessages();
    EXPECT_TRUE(form.Sending()) << "the client still reads the files";
    EXPECT_EQ(form.Rows(), 1);
    ASSERT_TRUE(form.Loaded());

    Touch(L"mapi_release");
    ASSERT_TRUE(PumpUntil([&] { return !form.Sending(); }, 10000));
    EXPECT_FALSE(form.Loaded()) << "every listed file was sent";
}

// The text of a message box.
std::wstring BoxText(HWND box) {
    wchar_t text[2048]{};
    ::GetDlgItemTextW(box, 0xFFFF, text, 2048);  // the box's static text
    return text;
}

TEST_F(MailFormTest, ACloseWhileSendNowShowsAWarningWaitsForTheSendToEnd) {
    UseTheClient();
    TempFolder dest;
    const std::wstring locked = folder.WriteFile(L"locked.txt", "kept");
    AddFilesToList(locked, form);
    TickCopyTo(dest.Path(), true);
    // Open without delete sharing: the copy is made, the source cannot go, and Send Now says so.
    HANDLE open = ::CreateFileW(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    const HWND main = form.Hwnd();
    std::wstring warning;
    DialogDriver driver(L"Warning - Ferryl Handler", [&](HWND box) {
        warning = BoxText(box);
        // Another program closes the window while the box is up (its loop dispatches the close).
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        ::Sleep(300);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    form.send_nowD_Click();
    ::CloseHandle(open);
    ASSERT_TRUE(driver.Found());
    EXPECT_NE(warning.find(L"could not be deleted"), std::wstring::npos) << warning;
    EXPECT_TRUE(PumpUntil([&] { return !form.Sending(); }, 10000)) << "the call's end reaches the window";
    EXPECT_FALSE(form.Loaded()) << "the close takes effect once the files are handed over";
    EXPECT_EQ(RecordedPaths(), std::vector<std::wstring>{dest / L"locked.txt"});
}

TEST_F(MailFormTest, FilesWhoseNamesDifferOnlyInCaseAreEachMovedAndSent) {
    TempFolder sources, dest;
    const std::wstring upper = sources.WriteFile(L"Note.txt", "upper");
    const std::wstring lower = sources.WriteFileOfOtherCase(L"note.txt", "lower");
    if (lower.empty())
        GTEST_SKIP() << "no case-sensitive folder can be made here";
    UseTheClient();
    AddFilesToList(upper, form);
    // The intake takes a path differing only in case for the one listed; File > Add File lists it.
    form.CellDetails(2, kColumnName, TaggedValue(std::wstring(L"note.txt")), std::nullopt);
    form.CellDetails(2, kColumnPath, TaggedValue(lower), std::nullopt);
    ASSERT_EQ(form.Rows(), 2);
    TickCopyTo(dest.Path(), true);
    form.send_nowD_Click();
    ASSERT_TRUE(PumpUntil([&] { return !form.Sending(); }, 10000));
    const std::vector<std::wstring> sent = RecordedPaths();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(test::ReadFileBytes(sent[0]), "upper");
    EXPECT_EQ(test::ReadFileBytes(sent[1]), "lower") << "the second file, not the first one's copy again";
    EXPECT_FALSE(FileExists(upper));
}

TEST_F(MailFormTest, TheFirstEntryFollowsWhicheverClientIsTheDefault) {
    RegistryValueScope defaultClient(HKEY_CURRENT_USER, kMailClientsKey, L"", kClient);
    ASSERT_TRUE(form.Load());
    std::wstring shown;
    {
        DialogDriver driver(L"E-Mail Program", [&](HWND dialog) {
            PressKey(dialog, VK_HOME);
            wchar_t text[512]{};
            ::GetDlgItemTextW(dialog, IDC_MAIL_CHOICE, text, 512);
            shown = text;
            PressKey(dialog, VK_RETURN);
        });
        form.ChooseMailProgram();
        ASSERT_TRUE(driver.Found());
    }
    EXPECT_EQ(shown, L"The default mail client (Simple MAPI)");
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", StartUp().IniFile), L"MAPI");

    LRESULT selected = -1;
    std::wstring first;
    DialogDriver again(L"E-Mail Program", [&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_MAIL_CLIENTS);
        selected = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
        wchar_t text[512]{};
        ::SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
        first = text;
        PressKey(dialog, VK_ESCAPE);
    });
    form.ChooseMailProgram();
    ASSERT_TRUE(again.Found());
    EXPECT_EQ(first, L"The default mail client, whichever it is");
    EXPECT_EQ(selected, 0) << "the current choice is selected";
}

TEST_F(MailFormTest, AClientNameTheSettingsFileCannotHoldIsKeptForThisRunWithAWarning) {
    const std::wstring foreign = L"\u65E5\u672C Mail";
    RegistryValueScope other(HKEY_CURRENT_USER, std::wstring(kMailClientsKey) + L"\\" + foreign, L"DLLPath",
                             Beside(L"e2e_mapi_provider.dll"));
    ASSERT_TRUE(form.Load());
    std::wstring warning;
    DialogDriver driver(L"E-Mail Program", [&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_MAIL_CLIENTS);
        const LRESULT index = ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(foreign.c_str()));
        ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MAIL_CLIENTS, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        HWND box = nullptr;
        for (int i = 0; i < 250 && !(box = ::FindWindowW(L"#32770", L"Warning - Ferryl Handler")); ++i)
            ::Sleep(20);
        if (!box)
            return;
        ::Sleep(100);
        warning = BoxText(box);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    form.ChooseMailProgram();
    ASSERT_TRUE(driver.Found());
    EXPECT_NE(warning.find(L"\"" + foreign + L"\" cannot be kept"), std::wstring::npos) << warning;
    EXPECT_NE(warning.find(L"holds only until the program ends"), std::wstring::npos) << warning;
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", StartUp().IniFile), L"") << "no \"?\" in the settings file";
    EXPECT_EQ(form.MailProgramPath(), L"MAPI:" + foreign) << "the choice holds for this run";
}

TEST(StartProgram, ACommandLineTooLongForWindowsIsRefusedWithTheReason) {
    const std::wstring failure = StartProgram(L"C:\\mail.exe", std::wstring(kLongestCommandLine, L'x'));
    EXPECT_EQ(failure.find(L"The mail program \"C:\\mail.exe\" could not be started.\n\nToo many files are listed"), 0u)
        << failure;
    const std::wstring missing = StartProgram(L"C:\\no such\\mail.exe", L"mail.exe x");
    EXPECT_NE(missing.find(L"(error "), std::wstring::npos) << missing;
}

}  // namespace
}  // namespace ferryl
