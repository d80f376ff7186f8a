// End to end: Send Now and the Simple MAPI clients of today: a stand-in provider registered as a
// mail client records the call it gets; a failing client, one that holds the call, and a client
// whose DLL is 32-bit. (What each kind of program reads from its arguments is checked in
// mail_readers_test.)

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/pe_machine.h"
#include "e2e/ferryl_session.h"
#include "mainwindow/form_steps.h"
#include "support/pe_head.h"

namespace ferryl::test {
namespace {

constexpr wchar_t kClient[] = L"Ferryl Test Client";

class MailProgramsTest : public FerrylSession {
  protected:
    // The stand-in provider as a client named in MailProgram, not the default: Wine's own stays that.
    void UseNamedClient() {
        WriteIni(L"Settings", L"MailProgram", std::wstring(L"MAPI:") + kClient, ini);
        InstallMapiProvider(kClient, false);
    }
    // Send Now with the blank's file, and the client holding the call.
    void SendWhileTheClientHolds(ChildProcess& ferryl) {
        UseNamedClient();
        mapi.Hold();
        ASSERT_TRUE(StartFerryl(ferryl, Quoted(blank)));
        PressSendNow();
        ASSERT_TRUE(PumpUntil([&] { return !mapi.Calls().empty(); }));
    }
    std::vector<std::wstring> MapiRecordOf(const std::vector<std::wstring>& paths) const {
        std::vector<std::wstring> lines{L"call=MAPISendMailW", L"flags=9", L"parent=window", L"recipients=0",
                                        L"files=" + std::to_wstring(paths.size())};
        for (const std::wstring& path : paths)
            lines.push_back(L"file=" + path + L"|" + FileNameOf(path) + L"|-1");
        return lines;
    }

    const std::wstring blank = files.WriteFile(L"a b.txt", "blank");
    const std::wstring comma = files.WriteFile(L"x,1.txt", "comma");
};

TEST_F(MailProgramsTest, ANamedClientThatFailsLeavesTheWindowAndTheListWithAWarningAndTakesThemAgain) {
    UseNamedClient();
    mapi.SetResult("2");
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(blank) + L" " + comma));
    PressSendNow();
    EXPECT_TRUE(AnswerBox(kWarningTitle, {L"The mail client failed", L"MAPI_E_FAILURE"}));
    ASSERT_TRUE(MainWindow()) << "the window stays";
    EXPECT_TRUE(
        PumpUntil([] { return ::IsWindowEnabled(MainWindow()) && ::IsWindowEnabled(PanelChild(L"&Send Now")); }));
    // The same list goes again, and this time the client takes it.
    mapi.SetResult("0");
    ::DeleteFileW(mapi.File(L"mapi_record.txt").c_str());
    SendAndRecord(ferryl, mapi.File(L"mapi_record.txt"));
    EXPECT_EQ(mapi.Record(), MapiRecordOf({blank, comma}));
}

TEST_F(MailProgramsTest, WhileTheClientHasTheFilesTheWindowPaintsAndKeepsFilesThatCome) {
    ChildProcess ferryl;
    SendWhileTheClientHolds(ferryl);
    ASSERT_FALSE(HasFatalFailure());
    // A DPI-unaware client's compose window is scaled by the system rather than drawn tiny.
    EXPECT_EQ(mapi.CallingThread(), L"awareness=1") << "DPI_AWARENESS_SYSTEM_AWARE";
    const HWND main = MainWindow();
    // The window paints: what is invalidated is validated again by the window's own thread.
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    EXPECT_TRUE(PumpUntil([&] { return !::GetUpdateRect(main, nullptr, FALSE); }, 3000));
    EXPECT_FALSE(::IsWindowEnabled(main));
    EXPECT_FALSE(::IsWindowEnabled(PanelChild(L"&Send Now")));
    // A later start's file, the call's end posted by another program (only the call itself says it
    // has returned) and a second Send Now, all while the call runs.
    ChildProcess later;
    ASSERT_TRUE(later.Start(exe, Quoted(comma)));
    ASSERT_TRUE(later.WaitForExit());
    ::PostMessageW(main, kMapiDoneMessage, 0, 0);
    PressSendNow();
    ::PostMessageW(main, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PostedMessagesHandled(PanelChild(L"&Copy To")));
    EXPECT_FALSE(::IsWindowEnabled(main)) << "the window waits for the client";
    EXPECT_EQ(mapi.Calls(), L"MAPISendMailW\n") << "one call at a time";
    mapi.Release();
    // The sent file goes from the list; the one that came stays, with the window, to be sent next.
    ASSERT_TRUE(PumpUntil([] { return ::IsWindowEnabled(PanelChild(L"&Send Now")); }));
    EXPECT_EQ(mapi.Record(), MapiRecordOf({blank}));
    ::DeleteFileW(mapi.File(L"mapi_record.txt").c_str());
    SendAndRecord(ferryl, mapi.File(L"mapi_record.txt"));
    EXPECT_EQ(mapi.Record(), MapiRecordOf({comma}));
}

TEST_F(MailProgramsTest, AClosedWindowEndsTheProgramOnlyOnceTheClientHasReturned) {
    ChildProcess ferryl;
    SendWhileTheClientHolds(ferryl);
    ASSERT_FALSE(HasFatalFailure());
    const HWND main = MainWindow();
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PostedMessagesHandled(PanelChild(L"&Copy To")));
    EXPECT_EQ(MainWindow(), main) << "the window waits for the client";
    // The Restart Manager closes every top-level window, the hidden receiving window too: once that
    // is gone, the process still waits.
    const HWND receiver = ::FindWindowW(L"FerrylInstanceF", nullptr);
    ASSERT_TRUE(receiver);
    ::PostMessageW(receiver, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(receiver); }));
    EXPECT_FALSE(ferryl.Exited()) << "the client still reads the files inside the program's process";
    mapi.Release();
    ASSERT_TRUE(ferryl.WaitForExit()) << "the program ends once the client has returned";
    EXPECT_EQ(mapi.Calls(), L"MAPISendMailW\n");
    // Written only after the release: a process that ended before would have ended the call too.
    EXPECT_EQ(mapi.Record(), MapiRecordOf({blank})) << "the client got to the end of its call";
}

TEST_F(MailProgramsTest, ADefaultClientWithA32BitDllIsNamedAsSuch) {
    WriteIni(L"Settings", L"MailProgram", L"", ini);
    // The headers of a 32-bit DLL, as a 32-bit Office registers its MAPI DLL.
    const std::wstring dll = programFolder.WriteFile(L"olmapi32.dll", PeHead(kMachineI386, 0x80, 0x200));
    Keep(HKEY_LOCAL_MACHINE, std::wstring(kMailClientsKey) + L"\\" + kClient, L"DLLPath", dll);
    Keep(HKEY_LOCAL_MACHINE, kMailClientsKey, L"", std::wstring(kClient));
    Keep(HKEY_CURRENT_USER, kMailClientsKey, L"", std::nullopt);
    ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, Quoted(blank)));
    PressSendNow();
    EXPECT_TRUE(AnswerBox(kWarningTitle, {Quoted(dll) + L" is a 32-bit DLL", L"64-bit program"}));
    EXPECT_TRUE(MainWindow()) << "the window stays with its list";
    ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(ferryl.WaitForExit());
}

}  // namespace
}  // namespace ferryl::test
