// The handoff across processes: this test plays the running instance and starts the real program.

#include <gtest/gtest.h>

#include "app/instance.h"
#include "app/instance_window.h"
#include "app/start_up_state.h"
#include "common/module_path.h"
#include "common/text.h"
#include "recording_target.h"
#include "support/child_process.h"
#include "support/marked_window.h"
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

}  // namespace
}  // namespace ferryl::test
