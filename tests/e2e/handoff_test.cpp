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

    const std::wstring a = files.WriteFile(L"a.txt");
    const std::wstring b = files.WriteFile(L"b.txt");
};

TEST_F(HandoffTest, TwoInstancesStartedAtOnceEndWithEveryFileListed) {
    const std::wstring wide = files.WriteFile(L"b \u0436\u4e2d.txt");  // outside the code page
    ChildProcess one, two;
    ASSERT_TRUE(one.Start(exe, a));
    ASSERT_TRUE(two.Start(exe, Quoted(wide)));
    // The one that finds the mutex taken hands its file over and ends; the other lists both.
    ASSERT_TRUE(PumpUntil([&] { return one.Exited() || two.Exited(); }, 20000));
    ChildProcess& first = one.Exited() ? two : one;
    EXPECT_EQ((one.Exited() ? one : two).ExitCode(), 0u);
    ASSERT_FALSE(first.Exited());
    ASSERT_TRUE(UntilListedAndIdle(first));
    // Both files, in either order; the program's own path is not what this is about.
    const std::wstring recorded = SendAndRecord(first);
    const std::wstring shortA = L" " + ShortPathName(a), shortB = L" " + ShortPathName(wide);
    EXPECT_TRUE(recorded.ends_with(shortA + shortB) || recorded.ends_with(shortB + shortA)) << recorded;
}

TEST_F(HandoffTest, ALaterInstanceTakesOverWhenTheRunningOneHasGone) {
    // This process plays an instance still in its start-up (the mutex, no receiver yet), which goes
    // while the later start waits for its receiver.
    ASSERT_TRUE(IsFirstInstance(InstanceMutexName()));
    ChildProcess later;
    ASSERT_TRUE(later.Start(exe, a));
    ReleaseInstanceMutex();
    ASSERT_TRUE(UntilListedAndIdle(later));
    EXPECT_FALSE(IsFirstInstance(InstanceMutexName())) << "it holds the mutex now";
    EXPECT_EQ(SendAndRecord(later), Sent({a}));
}

TEST_F(HandoffTest, AReceiverWithoutTheMutexTakesItOnceFreeAndServesTheNextStart) {
    // The instance that holds the mutex never makes a receiver, and ends.
    ChildProcess alone, next;
    // This process holds the mutex as an instance not yet receiving: the program lists its file itself.
    ASSERT_TRUE(IsFirstInstance(InstanceMutexName()) && StartFerryl(alone, a));
    ReleaseInstanceMutex();
    ASSERT_TRUE(PumpUntil(
        [] { return UniqueHandle(::OpenMutexW(SYNCHRONIZE, FALSE, InstanceMutexName().c_str())).get() != nullptr; },
        10000))
        << "the receiver took the mutex";
    ASSERT_TRUE(next.Start(exe, b));
    ASSERT_TRUE(next.WaitForExit()) << "it handed over rather than opening a window of its own";
    EXPECT_EQ(next.ExitCode(), 0u);
    EXPECT_EQ(SendAndRecord(alone), Sent({a, b}));
}

TEST_F(HandoffTest, AReceiverWithoutTheMutexLeavesReceivingToTheOneThatHoldsIt) {
    ChildProcess alone, next;
    // This process holds the mutex as an instance not yet receiving: the program lists its file itself.
    ASSERT_TRUE(IsFirstInstance(InstanceMutexName()) && StartFerryl(alone, a));
    HWND aloneReceiver = ::FindWindowW(L"FerrylInstanceF", nullptr);
    ASSERT_TRUE(IsInstanceWindow(aloneReceiver));
    // The starting instance's receiver is ready now.
    MarkedWindow starting;
    ASSERT_TRUE(PumpUntil([&] { return !IsInstanceWindow(aloneReceiver); }, 10000)) << "one receiver serves";
    ASSERT_TRUE(next.Start(exe, b));
    ASSERT_TRUE(next.WaitForExit([&] { return !starting.received.empty(); }));
    EXPECT_EQ(starting.received[0].second, ToAnsi(b));
    EXPECT_EQ(SendAndRecord(alone), Sent({a})) << "the window keeps its own list";
}

TEST_F(HandoffTest, FilesHandedToABusyWindowAreKeptUntilItOrTheNextStartListsThem) {
    for (const bool ended : {false, true}) {
        SCOPED_TRACE(ended ? "the busy window is ended" : "the busy window comes free");
        ChildProcess running, later, next;
        ASSERT_TRUE(StartBusy(running, a));
        // It waits out its time-out, then ends well.
        ASSERT_TRUE(later.Start(exe, b) && later.WaitForExit([] { return true; }, 30000) && later.ExitCode() == 0);
        EXPECT_EQ(Matching(SpoolFolder() + L"\\*.handoff").size(), 1u);
        if (ended) {
            ASSERT_TRUE(running.Kill());
            ASSERT_TRUE(StartFerryl(next, L""));
            EXPECT_EQ(SendAndRecord(next), Sent({b}));
        } else {
            ASSERT_TRUE(running.ResumeMainThread());
            EXPECT_EQ(SendAndRecord(running), Sent({a, b}));
        }
        EXPECT_EQ(Matching(SpoolFolder() + L"\\*.handoff").size(), 0u) << "removed once listed";
    }
}

TEST_F(HandoffTest, ALaterStartThatCanNeitherHandOverNorKeepItsFilesListsThemItself) {
    ChildProcess running, later;
    ASSERT_TRUE(StartBusy(running, a));
    // The later start's spool folder cannot be made: a file has its place.
    const std::wstring blocker = files.WriteFile(L"LocalAppData");
    wchar_t saved[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"LOCALAPPDATA", saved, MAX_PATH);
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", blocker.c_str());
    const bool started = later.Start(exe, b);
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", saved);
    ASSERT_TRUE(started);
    ASSERT_TRUE(PumpUntil(
        [] {
            int shown = 0;
            for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, L"FerrylF", nullptr));)
                shown += ::IsWindowVisible(window) ? 1 : 0;
            return shown == 2;
        },
        30000))
        << "a window of its own";
    ASSERT_TRUE(running.Kill());
    ASSERT_TRUE(UntilListedAndIdle(later));
    EXPECT_EQ(SendAndRecord(later), Sent({b}));
}

TEST_F(HandoffTest, HostileHandoffsLeaveTheInstanceAnsweringWithItsListWhole) {
    ChildProcess ferryl, later;
    ASSERT_TRUE(StartFerryl(ferryl, a));
    const HWND receiver = ::FindWindowW(L"FerrylInstanceF", nullptr);
    ASSERT_TRUE(IsInstanceWindow(receiver));
    // Handoffs no later start makes, a token repeated: 1 MiB in ANSI (tag 0; ignored), the most a
    // command line holds in UTF-16 (tag 1), and folder names and wildcards a search would walk.
    const struct {
        size_t characters;
        ULONG_PTR tag;
        std::wstring token;
    } payloads[] = {{1 << 20, 0, L"a "},
                    {32767, 1, L"a "},
                    {32767, 0, L"C:\\windows\\winsxs\\ "},
                    {32767, 1, L"C:\\windows\\winsxs\\amd64_* "},
                    {32767, 0, L"C:\\windows\\system32\\< "}};
    for (const auto& payload : payloads) {
        std::wstring text(payload.characters, L' ');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = payload.token[i % payload.token.size()];
        // The tokens are ASCII.
        std::string bytes = payload.tag ? std::string(reinterpret_cast<const char*>(text.data()), 2 * text.size())
                                        : std::string(text.begin(), text.end());
        COPYDATASTRUCT data{payload.tag, static_cast<DWORD>(bytes.size()), bytes.data()};
        DWORD_PTR result = 0;
        EXPECT_NE(::SendMessageTimeoutW(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 60000,
                                        &result),
                  0)
            << "the receiver took " << bytes.size() << " bytes";
        EXPECT_NE(::SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result), 0)
            << "the instance answers after " << bytes.size() << " bytes";
    }
    ASSERT_TRUE(later.Start(exe, b));
    ASSERT_TRUE(later.WaitForExit());
    EXPECT_EQ(SendAndRecord(ferryl), Sent({a, b}));
}

TEST_F(HandoffTest, SendNowClickedThroughASentMessageEndsTheProgram) {
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, a));
    // Sent, not posted, as a screen reader's default action or an automation tool sends it: the
    // program's GetMessageW handles it without returning to the message loop.
    ASSERT_TRUE(::SendNotifyMessageW(PanelChild(L"&Send Now"), BM_CLICK, 0, 0));
    EXPECT_EQ(RecordAfterExit(ferryl), Sent({a}));
    EXPECT_TRUE(ferryl.Exited()) << "no window is left, and neither is the process";
}

}  // namespace
}  // namespace ferryl::test
