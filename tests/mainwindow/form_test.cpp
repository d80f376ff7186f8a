// The main window as a real window: the window count, Copy To's enabling
// and filling, the list fed by the real intake, and a failed step recorded.

#include <gtest/gtest.h>

#include <string>

#include "app/instance_window.h"
#include "app/intake.h"
#include "app/start_up_state.h"
#include "common/continue_on_error.h"
#include "common/error.h"
#include "file_list_fixture.h"
#include "settings/funkcije.h"
#include "support/main_window_test.h"
#include "support/messages.h"

namespace ferryl::test {
namespace {

using FerrylFTest = MainWindowTest;

TEST_F(FerrylFTest, AFailedStepIsRecordedAndTheUserToldAndTheWindowGoesOn) {
    // Open File Location of a file deleted since it was listed.
    const std::wstring a = folder.WriteFile(L"a.txt");
    AddFilesToList(a, form);
    PumpMessages();
    ASSERT_TRUE(::DeleteFileW(a.c_str()));
    ClearFailures();
    std::wstring told;
    {
        DialogDriver answer(L"Warning - Ferryl Handler", [&](HWND box) {
            told = MessageBoxText(box);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        form.OpenFileLocation();
    }
    const std::vector<FailureRecord> failures = RecentFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].step, L"FerrylF.OpenFileLocation");
    EXPECT_NE(told.find(a), std::wstring::npos) << told;
    // The row stays, selected, and Send Now is on.
    EXPECT_EQ(form.Rows(), 1);
    EXPECT_EQ(form.Lista()->SelectedRow(), 1);
    EXPECT_TRUE(::IsWindowEnabled(form.send_nowD()));
    ClearFailures();
}

TEST_F(FerrylFTest, FilesAFullListLeftOutAreToldOfInOneWarning) {
    ASSERT_TRUE(form.Load());
    // Two batches before the warning shows: one box, for both.
    form.ReportListFull(2);
    form.ReportListFull(1);
    std::wstring warning;
    DialogDriver answer(L"Warning - Ferryl Handler", [&](HWND box) {
        warning = MessageBoxText(box);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    // The box is shown and answered within the dispatch that ends this wait; then whatever the two
    // reports posted is dispatched: a second box would be shown and answered there.
    EXPECT_TRUE(PumpUntil([&] { return answer.Found(); }, 10000));
    PumpMessages();
    EXPECT_EQ(answer.Answered(), 1);
    EXPECT_NE(warning.find(L"at most 32767 files, so 3 files were not listed"), std::wstring::npos) << warning;
}

TEST_F(FerrylFTest, ClosingUnloadsTheReceiverUnlessAThirdWindowIsLoaded) {
    // A close with no third window ends the receiver too: the queued handoff's test.
    InstanceF receiver(&form);
    form.SetInstanceWindow(&receiver);
    ASSERT_TRUE(receiver.Load(L""));
    ASSERT_TRUE(form.About().Load());
    ::SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.Loaded());
    EXPECT_TRUE(receiver.Loaded()) << "the About box keeps the program running";
    receiver.AddFilesFromCommandLine(L"");
    EXPECT_TRUE(form.Loaded()) << "the next intake loads a fresh main window";
    form.SetInstanceWindow(nullptr);
    form.Unload();
    receiver.Unload();
    ::DestroyWindow(form.About().Hwnd());
}

TEST_F(FerrylFTest, TabLeavesTheListForThePanelWhileOtherKeysStayWithIt) {
    const std::wstring a = folder.WriteFile(L"a.txt");
    AddFilesToList(a, form);
    ASSERT_TRUE(form.Loaded());
    HWND grid = form.Lista()->hwnd();
    ::SetFocus(grid);
    ASSERT_EQ(::GetFocus(), grid);

    MSG down{grid, WM_KEYDOWN, VK_DOWN, 0, 0, {}};
    EXPECT_FALSE(form.PreTranslateMessage(down)) << "arrows are the list's own";
    MSG tab{grid, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(form.PreTranslateMessage(tab));
    EXPECT_EQ(::GetFocus(), form.copyC()) << "the first control of the panel follows the list";
}

TEST_F(FerrylFTest, CopyToEnablesExistingFoldersAndFillsTheFirstOne) {
    WriteIni(L"Settings", L"AttachmentsFolder", folder.Path(), StartUp().IniFile);
    ASSERT_TRUE(form.Load());
    EXPECT_EQ(form.CustomFolder(), folder.Path() + L"\\") << "a backslash is appended";
    EXPECT_FALSE(::IsWindowEnabled(form.send_nowD())) << "an empty list";
    ::SendMessageW(form.copyC(), BM_CLICK, 0, 0);
    for (HWND control : {form.putanjaT(), form.deleteC(), form.temporaryD(), form.desktopD(), form.customD()})
        EXPECT_TRUE(::IsWindowEnabled(control));
    EXPECT_FALSE(::IsWindowEnabled(form.attachmentsD())) << "no Eudora attachments folder";
    EXPECT_EQ(WindowText(form.putanjaT()), folder.Path() + L"\\");

    ::SendMessageW(form.desktopD(), BM_CLICK, 0, 0);
    EXPECT_EQ(WindowText(form.putanjaT()), desktop.Path() + L"\\");

    ::SendMessageW(form.copyC(), BM_CLICK, 0, 0);
    for (HWND control : {form.deleteC(), form.temporaryD(), form.customD()})
        EXPECT_FALSE(::IsWindowEnabled(control));

    // Without a custom folder the temporary folder comes first.
    form.Unload();
    WriteIni(L"Settings", L"AttachmentsFolder", folder / L"gone", StartUp().IniFile);
    ASSERT_TRUE(form.Load());
    ::SendMessageW(form.copyC(), BM_CLICK, 0, 0);
    EXPECT_EQ(WindowText(form.putanjaT()), temp.Path() + L"\\");
}

}  // namespace
}  // namespace ferryl::test
