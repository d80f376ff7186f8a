// The main window's Send Now through Simple MAPI, in this process: a close that comes while Send Now
// asks something waits for it. And the E-Mail Program dialog, driven from the keyboard.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include "app/intake.h"
#include "mail/mail_clients.h"
#include "mail/program_start.h"
#include "mainwindow/form_steps.h"
#include "mainwindow/resource.h"
#include "settings/funkcije.h"
#include "settings/message_size_limit.h"
#include "support/main_window_test.h"
#include "support/messages.h"
#include "support/registry_scope.h"
#include "support/stand_ins.h"

namespace ferryl::test {
namespace {

constexpr wchar_t kClient[] = L"Ferryl Form Client";

class MailFormTest : public MainWindowTest {
  protected:
    StandInProvider provider;
    RegistryValueScope client{HKEY_CURRENT_USER, std::wstring(kMailClientsKey) + L"\\" + kClient, L"DLLPath",
                              provider.Dll()};
};

void PressKey(HWND dialog, WPARAM key) {
    ::PostMessageW(FocusOf(dialog), WM_KEYDOWN, key, 1);
    ::PostMessageW(FocusOf(dialog), WM_KEYUP, key, 0xC0000001);
    EXPECT_TRUE(PostedMessagesHandled(::GetDlgItem(dialog, IDCANCEL)));
}

// Runs the E-Mail Program dialog over the form with the steps, and waits for it to end.
void RunDialog(FerrylF& form, std::function<void(HWND)> steps) {
    DialogDriver driver(L"E-Mail Program", std::move(steps));
    form.ChooseMailProgram();
    EXPECT_TRUE(driver.Found());
}

TEST_F(MailFormTest, OtherProgramStoresTheShortFormOfThePickedProgram) {
    const std::wstring program = folder.WriteFile(L"\u65E5\u672C mail.exe");
    ASSERT_TRUE(form.Load());
    // Answered, so that a choice the settings file cannot keep fails the test rather than hangs it.
    DialogDriver notKept(L"Warning - Ferryl Handler", [](HWND box) { ::PostMessageW(box, WM_COMMAND, IDOK, 0); });
    RunDialog(form, [&](HWND dialog) {
        // Alt+O, the button's mnemonic, opens the file dialog.
        ::PostMessageW(FocusOf(dialog), WM_SYSCHAR, L'o', 1 << 29);
        HWND files = WaitForDialog(L"Select E-Mail Program");
        if (!files)
            return;
        // The file name box: the combo box cmb13 (Explorer style) or the edit edt1.
        HWND name = ::GetDlgItem(files, 0x47C);
        name = name ? name : ::GetDlgItem(files, 0x480);
        ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(program.c_str()));
        ::PostMessageW(files, WM_COMMAND, IDOK, 0);
        // The dialog takes the picked program in once the file dialog is gone.
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(files); }, 6000));
        EXPECT_TRUE(PostedMessagesHandled(::GetDlgItem(dialog, IDCANCEL)));
        PressKey(dialog, VK_RETURN);  // the focus is on OK once a program is picked
    });
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", StartUp().IniFile), ShortPathName(program));
}

TEST_F(MailFormTest, ACloseWhileSendNowShowsAWarningWaitsForTheSendToEnd) {
    WriteIni(L"Settings", L"MailProgram", std::wstring(L"MAPI:") + kClient, StartUp().IniFile);
    TempFolder dest;
    const std::wstring locked = folder.WriteFile(L"locked.txt", "kept");
    AddFilesToList(locked, form);
    // Copy To with "&Delete source files".
    ::SendMessageW(form.copyC(), BM_SETCHECK, BST_CHECKED, 0);
    form.copyC_Click();
    ::SendMessageW(form.deleteC(), BM_SETCHECK, BST_CHECKED, 0);
    ::SetWindowTextW(form.putanjaT(), (dest.Path() + L"\\").c_str());
    // Open without delete sharing: the copy is made, the source cannot go, and Send Now says so.
    HANDLE open = ::CreateFileW(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    const HWND main = form.Hwnd();
    std::wstring warning;
    DialogDriver driver(L"Warning - Ferryl Handler", [&](HWND box) {
        ::CloseHandle(open);
        warning = MessageBoxText(box);
        // Another program closes the window while the box is up (its loop dispatches the close).
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(PostedMessagesHandled(::GetDlgItem(box, IDOK)));
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    form.send_nowD_Click();
    // The copies are made on a thread of their own; the window tells of them once they are done.
    EXPECT_TRUE(PumpUntil([&] { return !form.Sending() && !form.Loaded(); }, 20000))
        << "the close takes effect once the files are handed over";
    ASSERT_TRUE(driver.Found());
    EXPECT_NE(warning.find(L"could not be deleted"), std::wstring::npos) << warning;
    EXPECT_EQ(provider.SentPaths(), std::vector<std::wstring>{dest / L"locked.txt"});
}

TEST_F(MailFormTest, TheDialogShowsTheChoiceInPlainWordsAndChoosesAutomaticallyOrTheDefault) {
    RegistryValueScope defaultClient(HKEY_CURRENT_USER, kMailClientsKey, L"", kClient);
    WriteIni(L"Settings", L"MailProgram", L"C:\\mail.exe", StartUp().IniFile);
    ASSERT_TRUE(form.Load());
    std::vector<std::wstring> listed;
    std::wstring current;
    RunDialog(form, [&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_MAIL_CLIENTS);
        for (LRESULT i = 0, count = ::SendMessageW(list, LB_GETCOUNT, 0, 0); i < count; ++i) {
            wchar_t text[512]{};
            ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            listed.push_back(text);
        }
        wchar_t choice[512]{};
        ::GetDlgItemTextW(dialog, IDC_MAIL_CHOICE, choice, 512);
        current = choice;
        // The second entry, from the keyboard: the default mail program, whichever it is.
        PressKey(dialog, VK_HOME);
        PressKey(dialog, VK_DOWN);
        PressKey(dialog, VK_RETURN);
    });
    EXPECT_TRUE(current.starts_with(L"C:\\mail.exe\r\n")) << current;
    ASSERT_GE(listed.size(), 3u);
    EXPECT_TRUE(listed[0].starts_with(L"Choose automatically. ")) << listed[0];
    EXPECT_TRUE(std::any_of(listed.begin(), listed.end(), [](const std::wstring& entry) {
        return entry.starts_with(kClient + std::wstring(L" (default). "));
    }));
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", StartUp().IniFile), L"MAPI");

    LRESULT selected = -1;
    RunDialog(form, [&](HWND dialog) {
        selected = ::SendMessageW(::GetDlgItem(dialog, IDC_MAIL_CLIENTS), LB_GETCURSEL, 0, 0);
        PressKey(dialog, VK_DOWN);
        PressKey(dialog, VK_ESCAPE);
    });
    EXPECT_EQ(selected, 1) << "the current choice is selected";
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", StartUp().IniFile), L"MAPI") << "Escape changes nothing";

    RunDialog(form, [&](HWND dialog) {
        PressKey(dialog, VK_HOME);
        PressKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", StartUp().IniFile), L"") << "choosing automatically empties it";
    EXPECT_EQ(form.MailProgramPath(), L"");
}

TEST_F(MailFormTest, TheSizeLimitIsWrittenOnlyOnceTheUserChangesIt) {
    ASSERT_TRUE(form.Load());
    std::wstring shown;
    const auto setLimit = [&](const wchar_t* text) {
        RunDialog(form, [&, text](HWND dialog) {
            wchar_t limit[16]{};
            ::GetDlgItemTextW(dialog, IDC_MAIL_SIZE_LIMIT, limit, 16);
            shown = limit;
            if (text)
                ::SetDlgItemTextW(dialog, IDC_MAIL_SIZE_LIMIT, text);
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
    };
    setLimit(nullptr);
    EXPECT_EQ(shown, L"25");
    EXPECT_EQ(ReadFileBytes(StartUp().IniFile), DefaultIniText()) << "OK alone leaves the file as it was";
    setLimit(L"0");
    EXPECT_EQ(ReadMessageSizeLimitMB(StartUp().IniFile), 0);
    setLimit(L"40");
    EXPECT_EQ(shown, L"0");
    EXPECT_EQ(ReadMessageSizeLimitMB(StartUp().IniFile), 40);
}

TEST_F(MailFormTest, AClientNameTheSettingsFileCannotHoldIsKeptForThisRunWithAWarning) {
    const std::wstring foreign = L"\u65E5\u672C Mail";
    RegistryValueScope other(HKEY_CURRENT_USER, std::wstring(kMailClientsKey) + L"\\" + foreign, L"DLLPath",
                             provider.Dll());
    ASSERT_TRUE(form.Load());
    std::wstring warning;
    RunDialog(form, [&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_MAIL_CLIENTS);
        const LRESULT index = ::SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>((foreign + L". ").c_str()));
        ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MAIL_CLIENTS, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        HWND box = WaitForDialog(L"Warning - Ferryl Handler");
        if (!box)
            return;
        PumpUntil([&] { return !(warning = MessageBoxText(box)).empty(); });
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_NE(warning.find(L"\"" + foreign + L"\" cannot be kept"), std::wstring::npos) << warning;
    EXPECT_NE(warning.find(L"holds only until the program ends"), std::wstring::npos) << warning;
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", StartUp().IniFile), L"") << "no \"?\" in the settings file";
    EXPECT_EQ(form.MailProgramPath(), L"MAPI:" + foreign) << "the choice holds for this run";
}

TEST(StartProgram, ACommandLineTooLongForWindowsIsRefusedWithTheReason) {
    const std::wstring failure = StartProgram(L"C:\\mail.exe", std::wstring(kLongestCommandLine, L'x'));
    EXPECT_EQ(failure.find(L"The mail program \"C:\\mail.exe\" could not be started.\n\nToo many files are listed"), 0u)
        << failure;  // a program that cannot start at all: the end-to-end Send Now case
}

}  // namespace
}  // namespace ferryl::test
