// End to end: the real Ferryl.exe, started from a folder of its own with its own Ferryl.ini, is
// given files, its "&Send Now" is pressed through its window, and a stand-in mail program of no
// known kind records the command line it gets: short paths, as such programs always had them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/ferryl_session.h"

namespace ferryl {
namespace {

using test::AnswerBox;
using test::ChildProcess;
using test::MainWindow;
using test::PanelChild;
using test::PostedMessagesHandled;
using test::PressSendNow;
using test::PumpUntil;
using test::Quoted;
using test::ReadFileBytes;
using test::Tick;

// The recorder as "mail.exe", in a folder whose name has a blank.
class SendNowTest : public test::FerrylSession {};

TEST_F(SendNowTest, TheMailProgramGetsItsParametersAndTheShortPathsOfTheListedFiles) {
    WriteIni(L"Settings", L"CLParameters", L"/a -attach", ini);
    const std::wstring spaced = files.WriteFile(L"with blank.txt", "a");
    const std::wstring plain = files.WriteFile(L"plain.txt", "b");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(spaced) + L" " + plain));
    const std::wstring shortSpaced = ShortPathName(spaced);
    ASSERT_EQ(shortSpaced.find(L' '), std::wstring::npos);
    EXPECT_EQ(SendAndRecord(ferryl), ShortPathName(mail) + L" /a -attach " + shortSpaced + L" " + ShortPathName(plain));
    EXPECT_EQ(ferryl.ExitCode(), 0u);
}

TEST_F(SendNowTest, CopyToTheTemporaryFolderRenamesOnACollisionAndDeletesTheSource) {
    const std::wstring temp = test::SystemTempFolder();
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
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(source)));
    Tick(L"&Copy To");
    Tick(L"&Delete source files");
    const std::wstring recorded = SendAndRecord(ferryl);  // before the copy's short path is asked for
    EXPECT_EQ(recorded, Sent({copy}));
    EXPECT_EQ(ReadFileBytes(copy), "moved");
    EXPECT_EQ(ReadFileBytes(taken), "") << "the file already there is kept";
    EXPECT_FALSE(FileExists(source));
    ::DeleteFileW(copy.c_str());
    ::DeleteFileW(taken.c_str());
}

TEST_F(SendNowTest, AFileThatCannotBeCopiedStopsSendNowAndTheListNamesTheCopiesMadeBefore) {
    // A name of its own, so the copy left in the temporary folder is found and removed.
    const std::wstring movedName = L"moved " + std::to_wstring(::GetTickCount()) + L".txt";
    const std::wstring moved = files.WriteFile(movedName, "m");
    const std::wstring vanished = files.WriteFile(L"vanished.txt", "v");
    const std::wstring copy = test::SystemTempFolder() + movedName;
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(moved) + L" " + vanished));
    ASSERT_TRUE(::DeleteFileW(vanished.c_str()));
    Tick(L"&Copy To");
    Tick(L"&Delete source files");
    PressSendNow();
    EXPECT_TRUE(AnswerBox(test::kWarningTitle, {vanished, L"already moved", copy}));
    EXPECT_FALSE(FileExists(record)) << "the mail program is not started with an incomplete list";
    EXPECT_TRUE(MainWindow()) << "the window stays open";
    EXPECT_FALSE(FileExists(moved));
    EXPECT_EQ(ReadFileBytes(copy), "m");
    // Without Copy To now: the first row names the copy, so the mail program gets the copy.
    Tick(L"&Copy To", false);
    EXPECT_EQ(SendAndRecord(ferryl), Sent({copy}));
    ::DeleteFileW(copy.c_str());
}

TEST_F(SendNowTest, AFileGivenInTwoSpellingsIsListedOnceAndSentAsItsOneCopy) {
    const std::wstring name = L"twice " + std::to_wstring(::GetTickCount()) + L".txt";
    const std::wstring file = files.WriteFile(name, "2");
    const std::wstring shortForm = ShortPathName(file);
    ASSERT_NE(shortForm, file) << "the two spell the file differently";
    const std::wstring copy = test::SystemTempFolder() + name;
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(file) + L" " + shortForm));
    Tick(L"&Copy To");
    Tick(L"&Delete source files");
    const std::wstring recorded = SendAndRecord(ferryl);
    EXPECT_EQ(recorded, Sent({copy}));
    EXPECT_EQ(ReadFileBytes(copy), "2");
    EXPECT_FALSE(FileExists(copy + L".1")) << "copied once";
    ::DeleteFileW(copy.c_str());
}

TEST_F(SendNowTest, AFileAlreadyInTheFolderIsPassedAsItIs) {
    const std::wstring path = test::SystemTempFolder() + L"there " + std::to_wstring(::GetTickCount()) + L".txt";
    {
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ::CloseHandle(file);
    }
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(path)));
    Tick(L"&Copy To");
    Tick(L"&Delete source files");
    EXPECT_EQ(SendAndRecord(ferryl), Sent({path}));
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(path + L".1")) << "not copied beside itself";
    ::DeleteFileW(path.c_str());
}

TEST_F(SendNowTest, AProgramThatCannotBeStartedIsReportedAndTheListStays) {
    const std::wstring bogus = programFolder.WriteFile(L"Mail Program\\bogus.exe", "not a program");
    WriteIni(L"Settings", L"MailProgram", bogus, ini);
    const std::wstring file = files.WriteFile(L"x.txt");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, file));
    PressSendNow();
    EXPECT_TRUE(AnswerBox(test::kWarningTitle,
                          {L"The mail program \"" + ShortPathName(bogus) + L"\" could not be started.", L"(error "}));
    EXPECT_TRUE(MainWindow()) << "the window stays open";
    EXPECT_TRUE(::IsWindowEnabled(PanelChild(L"&Send Now"))) << "with its list";
    ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(ferryl.WaitForExit());
}

// No program set and no default mail client: Send Now asks for one.
class NoMailProgramTest : public SendNowTest {
  protected:
    void SetUp() override {
        SendNowTest::SetUp();
        WriteIni(L"Settings", L"MailProgram", L"", ini);
        NoDefaultMailClient();
    }
};

int CountWindows(const wchar_t* title) {
    struct Count {
        const wchar_t* title;
        int found = 0;
    } count{title};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* count = reinterpret_cast<Count*>(data);
            wchar_t text[256]{};
            ::GetWindowTextW(window, text, 256);
            if (std::wstring(text) == count->title && ::IsWindowVisible(window))
                ++count->found;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.found;
}

TEST_F(NoMailProgramTest, TheChoiceCancelledStartsNothingAndMovesNothing) {
    const std::wstring name = L"stays " + std::to_wstring(::GetTickCount()) + L".txt";
    const std::wstring file = files.WriteFile(name, "s");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(file)));
    Tick(L"&Copy To");
    Tick(L"&Delete source files");
    PressSendNow();
    ASSERT_TRUE(PumpUntil([] { return CountWindows(L"Select E-Mail Program") == 1; }));
    // A second click while the first waits for the choice (a screen reader's or a tool's) starts
    // no second run.
    PressSendNow();
    ASSERT_TRUE(PostedMessagesHandled(PanelChild(L"&Copy To")));
    EXPECT_EQ(CountWindows(L"Select E-Mail Program"), 1);
    ::PostMessageW(::FindWindowW(L"#32770", L"Select E-Mail Program"), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(AnswerBox(L"Ferryl Handler", {L"E-mail program not specified."}));
    ASSERT_TRUE(PostedMessagesHandled(PanelChild(L"&Copy To")));
    EXPECT_EQ(CountWindows(L"Ferryl Handler"), 0) << "one run, one message";
    EXPECT_TRUE(MainWindow()) << "the window stays open";
    EXPECT_FALSE(FileExists(record)) << "nothing was started";
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", ini), L"");
    EXPECT_EQ(ReadFileBytes(file), "s") << "the source stays where the list says";
    EXPECT_FALSE(FileExists(test::SystemTempFolder() + name)) << "nothing was copied";
    ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(ferryl.WaitForExit());
}

}  // namespace
}  // namespace ferryl
