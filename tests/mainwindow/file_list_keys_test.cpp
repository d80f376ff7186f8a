// The file list's keys on the real main window: Ctrl+R on a scrolled list leaves every row showing
// its own file, Ctrl+A and Ctrl+L reach the menu's commands, and Alt+Enter reaches the window's
// handler and opens the selected file's properties.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/intake.h"
#include "app/start_up_state.h"
#include "common/continue_on_error.h"
#include "grid/paint_fixture.h"
#include "support/main_window_test.h"
#include "support/messages.h"

namespace ferryl {
namespace {

using test::PumpMessages;
using test::PumpUntil;
using test::Snapshot;

class FileListKeysTest : public test::MainWindowTest {
  protected:
    // A list of `count` files in a main window of 600 by 500 pixels.
    void LoadFiles(int count) {
        ASSERT_TRUE(form.Load());
        ::ShowWindow(form.Hwnd(), SW_SHOWNORMAL);
        ::SetWindowPos(form.Hwnd(), nullptr, 20, 20, 600, 500, SWP_NOZORDER);
        std::wstring commandLine;
        for (int i = 1; i <= count; ++i)
            commandLine += L"\"" + folder.WriteFile(L"file " + std::to_wstring(100 + i) + L".txt", "x") + L"\" ";
        AddFilesToList(commandLine, form);
        PumpMessages();
        ASSERT_EQ(form.Rows(), count);
    }
    // A key as the message loop delivers it: the window's own translation first, then the list.
    void Press(UINT message, WPARAM key, LPARAM lParam, bool ctrl = false) {
        BYTE state[256] = {};
        ::GetKeyboardState(state);
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        state[VK_MENU] = message == WM_SYSKEYDOWN ? 0x80 : 0;
        ::SetKeyboardState(state);
        MSG msg{form.Lista()->hwnd(), message, key, lParam, ::GetTickCount(), {}};
        if (!form.PreTranslateMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        state[VK_CONTROL] = state[VK_MENU] = 0;
        ::SetKeyboardState(state);
    }
};

TEST_F(FileListKeysTest, CtrlRAtTheBottomOfAScrolledListLeavesEveryRowShowingItsFile) {
    ASSERT_TRUE(form.Load());
    ::SetWindowPos(form.Hwnd(), nullptr, 20, 20, 600, 500, SWP_NOZORDER);
    MoskGrid& list = *form.Lista();
    const int fitting = static_cast<int>(list.VisibleDataHeight() / list.DefaultRowHeight());
    form.Unload();
    // A list a little taller than the view, scrolled to the bottom with its last file selected.
    LoadFiles(fitting + 2);
    MoskGrid& shown = *form.Lista();
    shown.CellSelected(shown.Rows(), 1, true);
    PumpMessages();
    ASSERT_GT(shown.ScrollOffsetY(), 0);

    Press(WM_KEYDOWN, 'R', 1, true);
    PumpMessages();
    ASSERT_EQ(form.Rows(), fitting + 1);
    ASSERT_EQ(shown.SelectedRow(), 1);
    ASSERT_EQ(shown.ScrollOffsetY(), 0);
    // The rows as they stand are those a full repaint draws: each row shows its own file.
    Snapshot after(shown.hwnd());
    ::RedrawWindow(shown.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
    EXPECT_TRUE(after.SameAs(Snapshot(shown.hwnd()), after.All()));
}

// The top-level windows of this process that are shown now.
std::set<HWND> ShownWindows() {
    std::set<HWND> windows;
    ::EnumWindows(
        [](HWND hwnd, LPARAM found) -> BOOL {
            DWORD process = 0;
            ::GetWindowThreadProcessId(hwnd, &process);
            if (process == ::GetCurrentProcessId() && ::IsWindowVisible(hwnd))
                reinterpret_cast<std::set<HWND>*>(found)->insert(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::set<HWND> g_before;
std::vector<std::wstring> g_opened;

// Runs inside whatever loop the shell holds while it opens the properties: notes each new window and
// closes it.
void CALLBACK CloseNewWindows(HWND, UINT, UINT_PTR, DWORD) {
    for (HWND hwnd : ShownWindows()) {
        if (g_before.count(hwnd))
            continue;
        wchar_t title[256] = {};
        ::GetWindowTextW(hwnd, title, 256);
        g_opened.push_back(title);
        g_before.insert(hwnd);
        ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
}

int g_menusOpened = 0;

// Counts the menu activations of this thread's windows, as DefWindowProc starts one for an Alt+key
// that reaches it.
LRESULT CALLBACK CountMenuActivations(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == WM_INITMENU) {
        ++g_menusOpened;
        ::EndMenu();
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(FileListKeysTest, AltEnterOpensTheSelectedFilesPropertiesAndGoesNoFurther) {
    LoadFiles(2);
    g_menusOpened = 0;
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, CountMenuActivations, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    ASSERT_EQ(form.Lista()->SelectedRow(), 1);
    g_before = ShownWindows();
    g_opened.clear();
    UINT_PTR timer = ::SetTimer(nullptr, 0, 100, CloseNewWindows);
    // Windows shows the file's property sheet; Wine 8 has none for a file and answers the same
    // request with a message box of its own. Either is a window the request brought up.
    Press(WM_SYSKEYDOWN, VK_RETURN, 1 | (1 << 29));
    EXPECT_TRUE(PumpUntil([] { return !g_opened.empty(); }, 10000)) << "nothing opened";
    ::KillTimer(nullptr, timer);
    PumpMessages();
    ::UnhookWindowsHookEx(hook);
    EXPECT_TRUE(form.Loaded()) << "the main window stays";
    // The WM_SYSCHAR of the handled key reached no menu bar (which would have beeped).
    EXPECT_EQ(g_menusOpened, 0);
}

TEST_F(FileListKeysTest, CtrlAAndCtrlLReachTheMenusCommandsFromTheList) {
    // Opening the listed file runs it: a batch file that leaves a mark beside itself.
    const std::wstring mark = folder / L"launched.txt";
    LoadFiles(0);
    AddFilesToList(L"\"" + folder.WriteFile(L"launch.cmd", "echo launched> \"%~dp0launched.txt\"\r\n") + L"\"", form);
    PumpMessages();
    ASSERT_EQ(form.Rows(), 1);
    Press(WM_KEYDOWN, 'L', 1, true);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFileAttributesW(mark.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000))
        << "Ctrl+L launched nothing";

    // Ctrl+A shows the Add File dialog; closed, it is a cancel, which adds nothing and is no failure.
    ClearFailures();
    g_before = ShownWindows();
    g_opened.clear();
    UINT_PTR timer = ::SetTimer(nullptr, 0, 100, CloseNewWindows);
    Press(WM_KEYDOWN, 'A', 1, true);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(g_opened, std::vector<std::wstring>{L"Add File"});
    EXPECT_EQ(form.Rows(), 1);
    EXPECT_TRUE(RecentFailures().empty());
}

}  // namespace
}  // namespace ferryl
