// The handoff across processes: this test plays the running instance and starts the real program.

#include <gtest/gtest.h>

#include "app/instance.h"
#include "app/instance_window.h"
#include "app/start_up.h"
#include "common/text.h"
#include "recording_target.h"
#include "settings/ini.h"
#include "shortcut_reader.h"
#include "support/child_process.h"
#include "support/marked_window.h"
#include "support/registry_scope.h"
#include "support/temp_folder.h"

namespace ferryl::test {
namespace {

std::wstring FerrylExe() {
    return ProgramFolder() + L"\\Ferryl.exe";
}

// Holds the instance mutex as a running instance does, and lets it go at the end.
class RunningInstanceTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(IsFirstInstance(InstanceMutexName())); }
    void TearDown() override {
        ReleaseInstanceMutex();
        StartUp() = StartUpState{};
    }
};

TEST_F(RunningInstanceTest, MarkedForeignWindowReceivesTheExactPayload) {
    MarkedWindow window;
    ChildProcess child;
    // In the code page (Windows-1252 in the test prefix), byte for byte, blanks and quotes kept.
    ASSERT_TRUE(child.Start(FerrylExe(), L"\"C:\\x y.txt\"  C:\\caf\u00e9.txt"));
    ASSERT_TRUE(child.WaitForExit([&] { return !window.received.empty(); }));
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].first, 0u);
    EXPECT_EQ(window.received[0].second, "\"C:\\x y.txt\"  C:\\caf\xe9.txt");

    ChildProcess empty;
    ASSERT_TRUE(empty.Start(FerrylExe(), L""));
    ASSERT_TRUE(empty.WaitForExit([&] { return window.received.size() == 2; }));
    EXPECT_EQ(window.received[1].second, std::string(1, '\0'));
}

TEST_F(RunningInstanceTest, VisibleReceiverIsRestoredInsteadOfSentAnEmptyLine) {
    MarkedWindow window;
    ::ShowWindow(window.Hwnd(), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(PumpUntil([&] { return ::IsIconic(window.Hwnd()) != FALSE; }));
    ChildProcess child;
    ASSERT_TRUE(child.Start(FerrylExe(), L""));
    ASSERT_TRUE(child.WaitForExit([&] { return !::IsIconic(window.Hwnd()); }));
    EXPECT_TRUE(window.received.empty());
}

TEST_F(RunningInstanceTest, ALaterInstanceHandsOverOnceTheStartingOneHasItsReceiver) {
    // The mutex is held, the receiver not made yet: the running instance is still starting, and
    // makes its receiver while the later start waits for it.
    TempFolder folder;
    const std::wstring file = folder.WriteFile(L"late.txt");
    ChildProcess child;
    ASSERT_TRUE(child.Start(FerrylExe(), file));
    RecordingTarget target;
    InstanceF receiver(&target);
    ASSERT_TRUE(receiver.Load(L""));
    ASSERT_TRUE(child.WaitForExit([&] { return target.Rows() == 1; }));
    EXPECT_EQ(child.ExitCode(), 0u);
    EXPECT_EQ(target.Paths(), (std::vector<std::wstring>{file}));
}

TEST(FirstStart, HandsItsFilesToAReceiverThatRunsWithoutTheMutex) {
    // A receiver whose process holds no mutex: a start that no instance answered in time.
    MarkedWindow receiver;
    TempFolder folder;
    const std::wstring program = folder.MakeFolder(L"prog") + L"\\Ferryl.exe";
    ASSERT_TRUE(::CopyFileW(FerrylExe().c_str(), program.c_str(), TRUE));
    const std::wstring file = folder.WriteFile(L"file.txt");
    ChildProcess first;
    ASSERT_TRUE(first.Start(program, file));
    ASSERT_TRUE(first.WaitForExit([&] { return !receiver.received.empty(); })) << "no second receiver opens";
    EXPECT_EQ(first.ExitCode(), 0u);
    EXPECT_EQ(receiver.received[0].second, ToAnsi(file));
    EXPECT_TRUE(IsFirstInstance(InstanceMutexName())) << "it let the mutex go, for the receiver to take";
    ReleaseInstanceMutex();
}

// A first instance stays running with its main window; by the time that window shows, start-up has
// written everything, and the process is ended (ChildProcess kills it) without touching the files.
void StartUntilMainWindowShows(const std::wstring& program) {
    ChildProcess process;
    ASSERT_TRUE(process.Start(program, L""));
    ASSERT_TRUE(PumpUntil(
        [] {
            HWND main = ::FindWindowW(L"FerrylF", nullptr);
            return main && ::IsWindowVisible(main);
        },
        20000));
}

TEST(FirstStart, CreatesSettingsAndShortcutAndLeavesExistingOnesAlone) {
    TempFolder folder;
    const std::wstring program = folder.MakeFolder(L"prog") + L"\\Ferryl.exe";
    ASSERT_TRUE(::CopyFileW(FerrylExe().c_str(), program.c_str(), TRUE));
    const std::wstring sendTo = folder.MakeFolder(L"SendTo");
    RegistryValueScope sendToValue(HKEY_CURRENT_USER, kShellFoldersKey, L"SendTo", sendTo);
    const std::wstring ini = folder / L"prog\\Ferryl.ini";
    const std::wstring link = sendTo + L"\\" + kShortcutName;

    StartUntilMainWindowShows(program);
    EXPECT_EQ(ReadFileBytes(ini), DefaultIniText());
    ShortcutInfo info = ReadShortcut(link);
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(info.target, program);
    EXPECT_EQ(info.icon, program);
    EXPECT_EQ(info.description, kShortcutDescription);
    // The instance that ended let its mutex go (the system closes a killed process's handles).
    ASSERT_TRUE(IsFirstInstance(InstanceMutexName()));
    ReleaseInstanceMutex();

    const std::string settings = "[Settings]\r\nCLParameters=/a\r\n";
    folder.WriteFile(L"prog\\Ferryl.ini", settings);
    folder.WriteFile(L"SendTo\\Mail Recipient Via Command Line.lnk", "kept as it is");
    StartUntilMainWindowShows(program);
    EXPECT_EQ(ReadFileBytes(ini), settings);
    EXPECT_EQ(ReadFileBytes(link), "kept as it is");

    // Wine hands every saved shortcut to winemenubuilder, which may still hold it open for a while.
    ASSERT_TRUE(PumpUntil([&] { return ::DeleteFileW(link.c_str()) != FALSE; }, 15000));
    StartUntilMainWindowShows(program);
    EXPECT_EQ(ReadShortcut(link).target, program);
    // Clear up while winemenubuilder, started by the shell link's save from the program's folder,
    // still holds the new shortcut and that folder open.
    ::DeleteFileW(program.c_str());
    ::DeleteFileW(ini.c_str());
    const auto gone = [](const std::wstring& path) {
        ::RemoveDirectoryW(path.c_str());
        return ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    };
    EXPECT_TRUE(PumpUntil(
        [&] {
            ::DeleteFileW(link.c_str());
            return gone(sendTo) && gone(folder / L"prog");
        },
        15000));
}

}  // namespace
}  // namespace ferryl::test
