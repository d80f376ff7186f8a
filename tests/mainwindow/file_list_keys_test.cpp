// The file list's keys, clicks and menus on the real main window: several rows selected by Ctrl
// and Shift, Delete, Ctrl+R and the context menu acting on them, the commands off on an empty list,
// and the menu's commands reached from the list (Ctrl+A, Ctrl+L, Exit).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/intake.h"
#include "app/start_up_state.h"
#include "common/continue_on_error.h"
#include "file_list_fixture.h"
#include "mainwindow/resource.h"
#include "settings/funkcije.h"
#include "support/messages.h"

namespace ferryl::test {
namespace {

using Rows = std::vector<long>;

class FileListKeysTest : public FileListTest {
  protected:
    std::vector<std::wstring> ListedPaths() {
        std::vector<std::wstring> paths;
        for (long row = 1; row <= form.Rows(); ++row)
            paths.push_back(form.CellText(row, kColumnPath));
        return paths;
    }
};

TEST_F(FileListKeysTest, RowsSelectedWithCtrlAndShiftAreCopiedAndDeletedTogether) {
    const std::vector<std::wstring> paths = LoadFiles(6);
    Click(2);
    Press(VK_DOWN, kShiftMask);
    Press(VK_DOWN, kShiftMask);
    EXPECT_EQ(Selected(), (Rows{2, 3, 4}));
    Click(6, kCtrlMask);
    EXPECT_EQ(Selected(), (Rows{2, 3, 4, 6}));
    Press('C', kCtrlMask);
    EXPECT_EQ(ClipboardText(), paths[1] + L"\r\n" + paths[2] + L"\r\n" + paths[3] + L"\r\n" + paths[5]);
    Press('C', kCtrlMask | kShiftMask);
    EXPECT_EQ(ClipboardText(), ShortPathName(paths[1]) + L"\r\n" + ShortPathName(paths[2]) + L"\r\n" +
                                   ShortPathName(paths[3]) + L"\r\n" + ShortPathName(paths[5]));

    Press(VK_DELETE);
    EXPECT_EQ(ListedPaths(), (std::vector<std::wstring>{paths[0], paths[4]}));
    EXPECT_EQ(Selected(), (Rows{1})) << "the first row, as after every removal";
    Click(1);
    Click(2, kShiftMask);
    EXPECT_EQ(Selected(), (Rows{1, 2}));
    Press('R', kCtrlMask);
    EXPECT_EQ(form.Rows(), 0);
    EXPECT_FALSE(::IsWindowEnabled(form.send_nowD()));
}

TEST_F(FileListKeysTest, TheContextMenuComesFromTheMouseAndTheKeysAndActsOnTheSelectedRows) {
    const std::vector<std::wstring> paths = LoadFiles(4);
    Click(1);
    Click(3, kCtrlMask);
    // A right press on a selected row keeps the selection: Copy Path copies both.
    EXPECT_EQ(FromMenu([&] { Click(3, 0, true); }, L'c'), (MenuItems{{L"&Launch\tCtrl+L", true},
                                                                     {L"&Properties\tAlt+Enter", true},
                                                                     {L"&Remove\tDel", true},
                                                                     {L"&Copy Path\tCtrl+C", true},
                                                                     {L"Open File L&ocation", true}}));
    EXPECT_EQ(Selected(), (Rows{1, 3}));
    EXPECT_EQ(ClipboardText(), paths[0] + L"\r\n" + paths[2]);
    // A right press elsewhere selects that row alone.
    FromMenu([&] { Click(2, 0, true); });
    EXPECT_EQ(Selected(), (Rows{2}));

    // Shift+F10 and the Menu key show it at the current row; Remove takes the selected rows.
    Click(4, kCtrlMask);
    FromMenu([&] { Press(VK_F10, kShiftMask); }, L'r');
    EXPECT_EQ(ListedPaths(), (std::vector<std::wstring>{paths[0], paths[2]}));
    FromMenu([&] { Press(VK_APPS); }, L'r');
    EXPECT_EQ(form.Rows(), 1);
}

TEST_F(FileListKeysTest, TheFileCommandsAreOffOnAnEmptyListAndExitClosesTheWindow) {
    LoadFiles(0);
    for (const auto& [text, enabled] : FromMenu([&] { Press(VK_APPS); }))
        EXPECT_FALSE(enabled) << text;
    SetClipboardText(L"before");
    Press('C', kCtrlMask);
    EXPECT_EQ(ClipboardText(), L"before") << "an empty list leaves the clipboard alone";

    // File > Exit closes the window as its close box does.
    ::SendMessageW(form.Hwnd(), WM_COMMAND, IDM_EXIT, 0);
    EXPECT_TRUE(PumpUntil([&] { return !form.Loaded(); }));
}

TEST_F(FileListKeysTest, CtrlAAndCtrlLReachTheMenusCommandsFromTheList) {
    // Opening the listed file runs it: a batch file that leaves a mark beside itself.
    const std::wstring mark = folder / L"launched.txt";
    LoadFiles(0);
    AddFilesToList(L"\"" + folder.WriteFile(L"launch.cmd", "echo launched> \"%~dp0launched.txt\"\r\n") + L"\"", form);
    ASSERT_EQ(form.Rows(), 1);
    Press('L', kCtrlMask);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFileAttributesW(mark.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000))
        << "Ctrl+L launched nothing";

    // Ctrl+A shows the Add File dialog; closed, it is a cancel, which adds nothing and is no failure.
    ClearFailures();
    DialogDriver add(L"Add File", [](HWND dialog) { ::PostMessageW(dialog, WM_CLOSE, 0, 0); });
    Press('A', kCtrlMask);
    EXPECT_TRUE(add.Found());
    EXPECT_EQ(form.Rows(), 1);
    EXPECT_TRUE(RecentFailures().empty());
}

}  // namespace
}  // namespace ferryl::test
