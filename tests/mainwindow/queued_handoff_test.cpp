// A later start of the real Ferryl.exe hands its files over while this thread pumps nothing (as
// during a long copy of Send Now): the windows must take them in before they go.

#include <gtest/gtest.h>

#include "app/instance.h"
#include "app/instance_window.h"
#include "common/module_path.h"
#include "settings/funkcije.h"
#include "support/child_process.h"
#include "support/main_window_test.h"
#include "support/messages.h"
#include "support/stand_ins.h"

namespace ferryl::test {
namespace {

class QueuedHandoffTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"\\e2e_mail_recorder.exe").c_str(), mail.c_str(), FALSE));
        WriteIni(L"Settings", L"MailProgram", mail, StartUp().IniFile);
        // This process is the running instance; the program started later hands over to it.
        ASSERT_TRUE(IsFirstInstance(InstanceMutexName()));
        form.SetInstanceWindow(&receiver);
    }
    void TearDown() override {
        form.SetInstanceWindow(nullptr);
        form.Unload();
        receiver.Unload();
        ReleaseInstanceMutex();
        MainWindowTest::TearDown();
    }

    // The later start is gone before its message is taken in: Wine drops a message whose sender
    // timed out (Windows keeps it), but keeps one whose sender has ended.
    static void HandOffWhileBusy(const std::wstring& file) {
        ChildProcess later;  // ended at the end of this block
        ASSERT_TRUE(later.Start(ProgramFolder() + L"\\Ferryl.exe", file));
        const ULONGLONG deadline = ::GetTickCount64() + 20000;
        while (!(HIWORD(::GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) && ::GetTickCount64() < deadline)
            ::Sleep(20);
        ASSERT_TRUE(HIWORD(::GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) << "the handoff waits in the queue";
        ASSERT_FALSE(later.Exited());
    }

    const std::wstring mail = folder / L"mail.exe";
    InstanceF receiver{&form};
};

TEST_F(QueuedHandoffTest, SendNowKeepsTheWindowForFilesHandedOverWhileItWorked) {
    const std::wstring sent = folder.WriteFile(L"sent.txt");
    const std::wstring queued = folder.WriteFile(L"queued.txt");
    ASSERT_TRUE(receiver.Load(sent));
    ASSERT_EQ(form.Rows(), 1);
    const HWND window = form.Hwnd();
    HandOffWhileBusy(queued);

    form.send_nowD_Click();
    ASSERT_TRUE(form.Loaded()) << "the window stays for the file that came";
    EXPECT_EQ(form.Hwnd(), window) << "kept, not closed and opened again";
    ASSERT_EQ(form.Rows(), 1) << "the sent row is removed";
    EXPECT_EQ(form.CellText(1, kColumnPath), queued);
    EXPECT_TRUE(receiver.Loaded());
    std::wstring commandLine;
    ASSERT_TRUE(PumpUntil([&] { return !(commandLine = ReadRecord(folder / L"command_line.txt")).empty(); }));
    EXPECT_EQ(commandLine, ShortPathName(mail) + L" " + ShortPathName(sent));
}

TEST_F(QueuedHandoffTest, ClosingTakesInFilesHandedOverMeanwhileAndTheProgramGoesOn) {
    ASSERT_TRUE(receiver.Load(folder.WriteFile(L"listed.txt")));
    const std::wstring queued = folder.WriteFile(L"queued.txt");
    HandOffWhileBusy(queued);

    // Sent from this thread, the close runs at once, with the handoff still queued.
    ::SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(receiver.Loaded()) << "the program goes on with the file that came";
    EXPECT_TRUE(IsInstanceWindow(receiver.Hwnd())) << "and still receives";
    EXPECT_TRUE(StartUp().InstanceMutex);
    ASSERT_TRUE(form.Loaded());
    ASSERT_EQ(form.Rows(), 1);
    EXPECT_EQ(form.CellText(1, kColumnPath), queued);

    // With nothing waiting, closing ends it.
    ::SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(receiver.Loaded());
    EXPECT_FALSE(StartUp().InstanceMutex);
}

}  // namespace
}  // namespace ferryl::test
