// End to end: the real Ferryl.exe, started from a folder of its own with its own Ferryl.ini, is
// given files, its "&Send Now" is pressed through its window, and a stand-in mail program records
// the command line it gets.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/child_process.h"
#include "app/start_up.h"
#include "settings/funkcije.h"
#include "settings/ini.h"
#include "support/messages.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

using test::ChildProcess;
using test::PumpUntil;
using test::ReadFileBytes;
using test::TempFolder;

constexpr wchar_t kMainClass[] = L"FerrylF";
constexpr wchar_t kMainCaption[] = L"Send To Mail Recipient Via Command Line";

HWND MainWindow() {
    return ::FindWindowW(kMainClass, kMainCaption);
}

HWND PanelChild(const wchar_t* text) {
    HWND panel = ::FindWindowExW(MainWindow(), nullptr, L"FerrylPozadinaP", nullptr);
    return panel ? ::FindWindowExW(panel, nullptr, L"Button", text) : nullptr;
}

// Ticks a check box of the panel as a click does: the check, then BN_CLICKED to its parent.
// (BM_CLICK from another process depends on the capture and focus of a window that may not be
// active under an unmanaged X server.)
void Tick(const wchar_t* text) {
    HWND box = PanelChild(text);
    ::PostMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    ::PostMessageW(::GetParent(box), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(box), BN_CLICKED),
                   reinterpret_cast<LPARAM>(box));
}

bool ChildHasText(HWND parent, const std::wstring& wanted) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[512]{};
        ::GetWindowTextW(child, text, 512);
        if (wanted == text)
            return true;
    }
    return false;
}

// A copy of the program in a folder of its own (Ferryl.ini lives beside it), and the recorder as
// the mail program in a folder whose name has a blank.
class SendNowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(MainWindow()) << "a main window of an earlier run is still open";
        const std::wstring bin = ProgramFolder();
        ASSERT_TRUE(::CopyFileW((bin + L"\\Ferryl.exe").c_str(), exe.c_str(), FALSE));
        programFolder.MakeFolder(L"Mail Program");
        ASSERT_TRUE(::CopyFileW((bin + L"\\e2e_mail_recorder.exe").c_str(), mail.c_str(), FALSE));
        ASSERT_TRUE(WriteDefaultIni(ini));
        WriteIni(L"Settings", L"MailProgram", mail, ini);
    }
    void TearDown() override {
        if (HWND main = MainWindow())
            ::PostMessageW(main, WM_CLOSE, 0, 0);
    }

    bool StartFerryl(ChildProcess& process, const std::wstring& arguments) {
        // Idle for input: the command line has been taken in whole, not just its first file.
        return process.Start(exe, arguments) && process.WaitForInputIdle() && PumpUntil([] {
                   HWND send = PanelChild(L"&Send Now");
                   return send && ::IsWindowVisible(MainWindow()) && ::IsWindowEnabled(send);
               });
    }
    // Presses "&Send Now" and waits for the program to end and the mail program to record.
    std::wstring SendAndRecord(ChildProcess& ferryl) {
        ::PostMessageW(PanelChild(L"&Send Now"), BM_CLICK, 0, 0);
        std::string bytes;
        if (!ferryl.WaitForExit([&] { return !(bytes = ReadFileBytes(record)).empty(); }, 20000))
            return L"(no record)";
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }

    TempFolder programFolder, files;
    const std::wstring exe = programFolder / L"Ferryl.exe";
    const std::wstring ini = programFolder / L"Ferryl.ini";
    const std::wstring mail = programFolder / L"Mail Program\\mail.exe";
    const std::wstring record = programFolder / L"Mail Program\\command_line.txt";
};

TEST_F(SendNowTest, TheMailProgramGetsTheShortPathsOfTheListedFiles) {
    const std::wstring spaced = files.WriteFile(L"with blank.txt", "a");
    const std::wstring plain = files.WriteFile(L"plain.txt", "b");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, L"\"" + spaced + L"\" " + plain));
    const std::wstring shortSpaced = ShortPathName(spaced);
    ASSERT_EQ(shortSpaced.find(L' '), std::wstring::npos);
    EXPECT_EQ(SendAndRecord(ferryl), ShortPathName(mail) + L" " + shortSpaced + L" " + ShortPathName(plain));
    EXPECT_EQ(ferryl.ExitCode(), 0u);
}

TEST_F(SendNowTest, ClParametersGoBetweenTheProgramAndTheFiles) {
    WriteIni(L"Settings", L"CLParameters", L"/a -attach", ini);
    const std::wstring file = files.WriteFile(L"x.txt");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, file));
    EXPECT_EQ(SendAndRecord(ferryl), ShortPathName(mail) + L" /a -attach " + ShortPathName(file));
}

TEST_F(SendNowTest, ASecondInstanceAddsItsFileToTheRunningOne) {
    const std::wstring first = files.WriteFile(L"first.txt");
    const std::wstring second = files.WriteFile(L"second.txt");
    ChildProcess ferryl, later;
    ASSERT_TRUE(StartFerryl(ferryl, first));
    ASSERT_TRUE(later.Start(exe, second));
    ASSERT_TRUE(later.WaitForExit());
    EXPECT_EQ(SendAndRecord(ferryl), ShortPathName(mail) + L" " + ShortPathName(first) + L" " + ShortPathName(second));
}

TEST_F(SendNowTest, CopyToTheTemporaryFolderRenamesOnACollisionAndDeletesTheSource) {
    wchar_t tempBuffer[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, tempBuffer);
    const std::wstring temp = tempBuffer;
    const std::wstring name = L"ferryl e2e " + std::to_wstring(::GetTickCount()) + L".txt";
    const std::wstring source = files.WriteFile(name, "moved");
    const std::wstring taken = temp + name;
    const std::wstring copy = taken + L".1";
    {
        HANDLE file = ::CreateFileW(taken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ::CloseHandle(file);
    }
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, L"\"" + source + L"\""));
    Tick(L"&Copy To");
    Tick(L"&Delete source files");
    const std::wstring recorded = SendAndRecord(ferryl);
    EXPECT_EQ(recorded, ShortPathName(mail) + L" " + ShortPathName(copy));
    EXPECT_EQ(ReadFileBytes(copy), "moved");
    EXPECT_EQ(ReadFileBytes(taken), "") << "the file already there is kept";
    EXPECT_FALSE(FileExists(source));
    ::DeleteFileW(copy.c_str());
    ::DeleteFileW(taken.c_str());
}

TEST_F(SendNowTest, AFileThatCannotBeCopiedStopsSendNowWithAWarningNamingIt) {
    // A name of its own, so the copy left in the temporary folder is found and removed.
    const std::wstring keptName = L"kept " + std::to_wstring(::GetTickCount()) + L".txt";
    const std::wstring kept = files.WriteFile(keptName, "k");
    const std::wstring vanished = files.WriteFile(L"vanished.txt", "v");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, L"\"" + kept + L"\" " + vanished));
    ASSERT_TRUE(::DeleteFileW(vanished.c_str()));
    Tick(L"&Copy To");
    ::PostMessageW(PanelChild(L"&Send Now"), BM_CLICK, 0, 0);

    HWND box = nullptr;
    const auto names = [&](HWND window) {
        for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t text[1024]{};
            ::GetWindowTextW(child, text, 1024);
            if (std::wstring(text).find(vanished) != std::wstring::npos)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(PumpUntil([&] {
        box = ::FindWindowW(L"#32770", L"Warning - Ferryl Handler");
        return box && names(box);
    })) << "the warning names the file; box "
        << box << ", recorded: " << FileExists(record) << ", Ferryl running: " << (MainWindow() != nullptr);
    ASSERT_TRUE(box);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([] { return !::FindWindowW(L"#32770", L"Warning - Ferryl Handler"); }));
    EXPECT_TRUE(MainWindow()) << "the window stays open";
    EXPECT_FALSE(FileExists(record)) << "the mail program is not started with an incomplete list";
    EXPECT_TRUE(FileExists(kept)) << "Delete source files was not ticked";

    // The copy of the first file made before the failure stays in the temporary folder.
    wchar_t temp[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring copy = std::wstring(temp) + keptName;
    EXPECT_EQ(ReadFileBytes(copy), "k");
    ::DeleteFileW(copy.c_str());
    ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(ferryl.WaitForExit());
}

TEST_F(SendNowTest, NoMailProgramAndTheDialogCancelledStartsNothing) {
    WriteIni(L"Settings", L"MailProgram", L"", ini);
    const std::wstring file = files.WriteFile(L"x.txt");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, file));
    ::PostMessageW(PanelChild(L"&Send Now"), BM_CLICK, 0, 0);

    HWND dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (dialog = ::FindWindowW(L"#32770", L"Select E-Mail Program")) != nullptr; }));
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    // The box is found as soon as it exists; its text is set while it initialises.
    HWND box = nullptr;
    EXPECT_TRUE(PumpUntil([&] {
        box = ::FindWindowW(L"#32770", L"Ferryl Handler");
        return box && ChildHasText(box, L"E-mail program not specified.");
    }));
    ASSERT_TRUE(box);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([] { return !::FindWindowW(L"#32770", L"Ferryl Handler"); }));

    EXPECT_TRUE(MainWindow()) << "the window stays open";
    EXPECT_FALSE(FileExists(record)) << "nothing was started";
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", ini), L"");
    ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(ferryl.WaitForExit());
}

}  // namespace
}  // namespace ferryl
