// End to end: the real Ferryl.exe and its later starts as a running instance meets them: two
// starts at the same moment, an instance that is still starting or has gone meanwhile, one too busy
// to take a handoff in time, a handoff no second start makes, and a click that comes as a message
// sent from another process.

#include <gtest/gtest.h>

#include <string>

#include "app/handoff_spool.h"
#include "app/instance.h"
#include "common/text.h"
#include "common/unique_handle.h"
#include "e2e/ferryl_session.h"
#include "settings/funkcije.h"
#include "support/marked_window.h"

namespace ferryl::test {
namespace {

class HandoffTest : public FerrylSession {
  protected:
    void TearDown() override {
        // Some tests play an instance that holds the mutex.
        ReleaseInstanceMutex();
        FerrylSession::TearDown();
    }

    // Starts the program with a file listed, and stops its thread as a long piece of work holds it.
    bool StartBusy(ChildProcess& running, const std::wstring& file) {
        return StartFerryl(running, file) && running.SuspendMainThread();
    }

    // Starts a later instance and waits until it has ended well: it waits out its time-out first.
    bool HandOverAndEnd(ChildProcess& later, const std::wstring& file) {
        return later.Start(exe, file) && later.WaitForExit([] { return true; }, 30000) && later.ExitCode() == 0;
    }
};

// The handoffs kept in the spool folder (the test program's, which its Ferryl.exe inherit).
size_t KeptHandoffCount() {
    size_t count = 0;
    WIN32_FIND_DATAW entry;
    UniqueFind search(::FindFirstFileW((SpoolFolder() + L"\\*.handoff").c_str(), &entry));
    if (search) {
        do
            ++count;
        while (::FindNextFileW(search.get(), &entry));
    }
    return count;
}

size_t MainWindowCount() {
    size_t count = 0;
    for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, L"FerrylF", nullptr)) != nullptr;)
        count += ::IsWindowVisible(window) ? 1 : 0;
    return count;
}

TEST_F(HandoffTest, TwoInstancesStartedAtOnceEndWithEveryFileListed) {
    const std::wstring a = files.WriteFile(L"a.txt");
    const std::wstring b = files.WriteFile(L"b \u0436\u4e2d.txt");  // outside the code page
    ChildProcess one, two, empty;
    ASSERT_TRUE(one.Start(exe, a));
    ASSERT_TRUE(two.Start(exe, Quoted(b)));
    // The one that finds the mutex taken hands its file over and ends; the other lists both.
    ASSERT_TRUE(PumpUntil([&] { return one.Exited() || two.Exited(); }, 20000));
    ChildProcess& first = one.Exited() ? two : one;
    const ChildProcess& later = one.Exited() ? one : two;
    EXPECT_EQ(later.ExitCode(), 0u);
    ASSERT_FALSE(first.Exited());
    ASSERT_TRUE(UntilListedAndIdle(first));
    // A start without files brings the minimised window back.
    ::ShowWindow(MainWindow(), SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([] { return ::IsIconic(MainWindow()) != FALSE; }));
    ASSERT_TRUE(empty.Start(exe, L""));
    EXPECT_TRUE(empty.WaitForExit([] { return !::IsIconic(MainWindow()); }));
    // Both files, in either order; the program's own path is not what this is about.
    const std::wstring recorded = SendAndRecord(first);
    const std::wstring shortA = L" " + ShortPathName(a), shortB = L" " + ShortPathName(b);
    EXPECT_TRUE(recorded.ends_with(shortA + shortB) || recorded.ends_with(shortB + shortA)) << recorded;
}

TEST_F(HandoffTest, ALaterInstanceTakesOverWhenTheRunningOneHasGone) {
    // This process plays an instance still in its start-up (the mutex, no receiver yet), which goes
    // while the later start waits for its receiver.
    ASSERT_TRUE(IsFirstInstance(InstanceMutexName()));
    const std::wstring file = files.WriteFile(L"file.txt");
    ChildProcess later;
    ASSERT_TRUE(later.Start(exe, file));
    ReleaseInstanceMutex();
    ASSERT_TRUE(UntilListedAndIdle(later));
    EXPECT_FALSE(IsFirstInstance(InstanceMutexName())) << "it holds the mutex now";
    EXPECT_EQ(SendAndRecord(later), Sent({file}));
}

TEST_F(HandoffTest, AReceiverWithoutTheMutexTakesItOnceFreeAndServesTheNextStart) {
    // An instance that holds the mutex and never makes a receiver, and then ends: the later start
    // that no receiver answers lists its files itself.
    ASSERT_TRUE(IsFirstInstance(InstanceMutexName()));
    const std::wstring a = files.WriteFile(L"a.txt");
    ChildProcess alone;
    ASSERT_TRUE(alone.Start(exe, a));
    ASSERT_TRUE(UntilListedAndIdle(alone));
    ReleaseInstanceMutex();
    ASSERT_TRUE(PumpUntil(
        [] {
            HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, InstanceMutexName().c_str());
            if (mutex)
                ::CloseHandle(mutex);
            return mutex != nullptr;
        },
        10000))
        << "the receiver took the mutex";
    const std::wstring b = files.WriteFile(L"b.txt");
    ChildProcess next;
    ASSERT_TRUE(next.Start(exe, b));
    ASSERT_TRUE(next.WaitForExit()) << "it handed over rather than opening a window of its own";
    EXPECT_EQ(next.ExitCode(), 0u);
    EXPECT_EQ(SendAndRecord(alone), Sent({a, b}));
}

TEST_F(HandoffTest, AReceiverWithoutTheMutexLeavesReceivingToTheOneThatHoldsIt) {
    // An instance still starting: the mutex, no receiver yet.
    ASSERT_TRUE(IsFirstInstance(InstanceMutexName()));
    const std::wstring a = files.WriteFile(L"a.txt");
    ChildProcess alone;
    ASSERT_TRUE(alone.Start(exe, a));
    ASSERT_TRUE(UntilListedAndIdle(alone));
    HWND aloneReceiver = ::FindWindowW(L"FerrylInstanceF", nullptr);
    ASSERT_TRUE(IsInstanceWindow(aloneReceiver));
    // Its receiver is ready now.
    MarkedWindow starting;
    ASSERT_TRUE(PumpUntil([&] { return !IsInstanceWindow(aloneReceiver); }, 10000)) << "one receiver serves";
    const std::wstring c = files.WriteFile(L"c.txt");
    ChildProcess next;
    ASSERT_TRUE(next.Start(exe, c));
    ASSERT_TRUE(next.WaitForExit([&] { return !starting.received.empty(); }));
    EXPECT_EQ(starting.received[0].second, ToAnsi(c));
    EXPECT_EQ(SendAndRecord(alone), Sent({a})) << "the window keeps its own list";
}

TEST_F(HandoffTest, FilesHandedToABusyWindowAreListedOnceItIsFree) {
    const std::wstring a = files.WriteFile(L"a.txt");
    const std::wstring b = files.WriteFile(L"b.txt");
    ChildProcess running, later;
    ASSERT_TRUE(StartBusy(running, a));
    ASSERT_TRUE(HandOverAndEnd(later, b));
    EXPECT_EQ(KeptHandoffCount(), 1u);
    ASSERT_TRUE(running.ResumeMainThread());
    EXPECT_EQ(SendAndRecord(running), Sent({a, b}));
    EXPECT_EQ(KeptHandoffCount(), 0u) << "removed once listed";
}

TEST_F(HandoffTest, FilesKeptForAWindowThatWasEndedAreListedByTheNextOne) {
    const std::wstring a = files.WriteFile(L"a.txt");
    const std::wstring b = files.WriteFile(L"b.txt");
    ChildProcess running, later, next;
    ASSERT_TRUE(StartBusy(running, a));
    ASSERT_TRUE(HandOverAndEnd(later, b));
    ASSERT_TRUE(running.Kill());
    ASSERT_TRUE(StartFerryl(next, L""));
    EXPECT_EQ(SendAndRecord(next), Sent({b}));
    EXPECT_EQ(KeptHandoffCount(), 0u);
}

TEST_F(HandoffTest, ALaterStartThatCanNeitherHandOverNorKeepItsFilesListsThemItself) {
    const std::wstring a = files.WriteFile(L"a.txt");
    const std::wstring b = files.WriteFile(L"b.txt");
    ChildProcess running, later;
    ASSERT_TRUE(StartBusy(running, a));
    {
        // The later start's spool folder cannot be made: a file has its place.
        const std::wstring blocker = files.WriteFile(L"LocalAppData");
        wchar_t saved[MAX_PATH] = {};
        ::GetEnvironmentVariableW(L"LOCALAPPDATA", saved, MAX_PATH);
        ::SetEnvironmentVariableW(L"LOCALAPPDATA", blocker.c_str());
        ASSERT_TRUE(later.Start(exe, b));
        ::SetEnvironmentVariableW(L"LOCALAPPDATA", saved);
    }
    ASSERT_TRUE(PumpUntil([] { return MainWindowCount() == 2; }, 30000)) << "a window of its own";
    ASSERT_TRUE(running.Kill());
    ASSERT_TRUE(UntilListedAndIdle(later));
    EXPECT_EQ(SendAndRecord(later), Sent({b}));
}

TEST_F(HandoffTest, HostileHandoffsLeaveTheInstanceAnsweringWithItsListWhole) {
    const std::wstring own = files.WriteFile(L"own.txt");
    ChildProcess ferryl;
    ASSERT_TRUE(ferryl.Start(exe, own));
    ASSERT_TRUE(UntilListedAndIdle(ferryl));
    const std::wstring sender = ProgramFolder() + L"\\e2e_hostile_sender.exe";
    // One-letter tokens: 1 MiB of them (not a command line of ours: ignored), and the most a
    // command line holds, in ANSI and in UTF-16. Then as many folder names and wildcards, each of
    // which a directory search would walk a folder for: none names a file.
    struct Payload {
        unsigned long bytes;
        int tag;
        const wchar_t* token;
    };
    for (const Payload payload :
         {Payload{1 << 20, 0, L"a"}, Payload{32767, 0, L"a"}, Payload{2 * 32767, 1, L"a"}, Payload{1 << 20, 1, L"a"},
          Payload{32767, 0, L"C:\\windows\\winsxs\\"}, Payload{2 * 32767, 1, L"C:\\windows\\winsxs\\amd64_*"},
          Payload{32767, 0, L"C:\\windows\\system32\\<"}}) {
        ChildProcess hostile;
        ASSERT_TRUE(hostile.Start(
            sender, std::to_wstring(payload.bytes) + L" " + std::to_wstring(payload.tag) + L" " + payload.token));
        ASSERT_TRUE(hostile.WaitForExit([] { return true; }, 90000));
        EXPECT_EQ(hostile.ExitCode(), 0u) << "the receiver took the message; " << payload.bytes << " bytes";
        DWORD_PTR result = 0;
        EXPECT_NE(::SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result), 0)
            << "the instance answers after " << payload.bytes << " bytes";
    }
    const std::wstring sent = files.WriteFile(L"sent.txt");
    ChildProcess later;
    ASSERT_TRUE(later.Start(exe, sent));
    ASSERT_TRUE(later.WaitForExit());
    EXPECT_EQ(SendAndRecord(ferryl), Sent({own, sent}));
}

TEST_F(HandoffTest, SendNowClickedThroughASentMessageEndsTheProgram) {
    const std::wstring file = files.WriteFile(L"file.txt");
    ChildProcess ferryl;
    ASSERT_TRUE(ferryl.Start(exe, file));
    ASSERT_TRUE(UntilListedAndIdle(ferryl));
    // Sent, not posted, as a screen reader's default action or an automation tool sends it: the
    // program's GetMessageW handles it without returning to the message loop.
    ASSERT_TRUE(::SendNotifyMessageW(PanelChild(L"&Send Now"), BM_CLICK, 0, 0));
    EXPECT_EQ(RecordAfterExit(ferryl), Sent({file}));
    EXPECT_TRUE(ferryl.Exited()) << "no window is left, and neither is the process";
}

}  // namespace
}  // namespace ferryl::test
