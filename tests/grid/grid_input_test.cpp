// Keys and clicks sent to the grid window: that they reach the model (whose rules for the current
// cell and the selection are tested natively in tests/core), the events with their default
// switches, the view that follows, the key search on the screen, the wheel, the disabled grid that
// only scrolls, and the Alt keys left to the window's menu.

#include "grid/scroll_bars.h"
#include "paint_fixture.h"

namespace ferryl::test {
namespace {

using Cell = std::pair<long, long>;

class InputTest : public PaintTest {
  protected:
    void Key(WORD vk, bool shift = false, bool ctrl = false) {
        BYTE state[256] = {};
        state[VK_SHIFT] = shift ? 0x80 : 0;
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        ::SetKeyboardState(state);
        ::SendMessageW(grid.hwnd(), WM_KEYDOWN, vk, 0);
        state[VK_SHIFT] = state[VK_CONTROL] = 0;
        ::SetKeyboardState(state);
    }
    void Type(const std::wstring& text) {
        for (wchar_t ch : text)
            ::SendMessageW(grid.hwnd(), WM_CHAR, ch, 0);
    }
    void Click(long row, long column, WPARAM keys = 0) {
        const LPARAM at = MAKELPARAM(Inside(row, column).x, Inside(row, column).y);
        ::SendMessageW(grid.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        ::SendMessageW(grid.hwnd(), WM_LBUTTONUP, keys, at);
    }
    Cell Current() const { return {grid.SelectedRow(), grid.SelectedCol()}; }
};

TEST_F(InputTest, KeysClicksAndTheirShiftAndCtrlReachTheModelTheOwnerHearsOfMovesAndEdits) {
    Fill(6);
    grid.MultiSelect(true);
    Click(2, 1);
    const size_t changes = listener.selections.size();
    Click(4, 2, MK_SHIFT);
    EXPECT_TRUE(grid.CellSelected(3, 2));
    EXPECT_EQ(Current(), Cell(4, 2)) << "a range's far end becomes current";
    EXPECT_EQ(listener.selections.size(), changes + 1);
    Click(6, 3, MK_CONTROL);
    EXPECT_TRUE(grid.CellSelected(6, 3));
    Key(VK_TAB, true);
    EXPECT_EQ(listener.keys.back(), (std::pair<short, short>(VK_LEFT, 1))) << "Shift+Tab is Shift+Left";
    EXPECT_TRUE(grid.CellSelected(6, 2));
    Key(VK_UP, false, true);
    EXPECT_EQ(Current(), Cell(5, 2));
    EXPECT_FALSE(grid.CellSelected(5, 2)) << "Ctrl+Up only moves";
    Key(VK_HOME);
    EXPECT_EQ(listener.selections.back(), Cell(1, 2));
    // The current cell clicked again asks for an edit only when editable, and so does Enter.
    Click(1, 2);
    EXPECT_TRUE(listener.edits.empty());
    grid.Editable(true);
    Click(1, 2);
    EXPECT_EQ(listener.edits, std::vector<Cell>{Cell(1, 2)});
    grid.CancelEdit();
    Key(VK_RETURN);
    EXPECT_EQ(listener.edits.size(), 2u);
}

TEST_F(InputTest, RowModeArrowsScrollSidewaysPagesMoveTheRowAndALostPressLeavesTheView) {
    for (int i = 1; i <= 8; ++i)
        grid.AddColumn(L"c" + std::to_wstring(i), L"", 0, -1, kColumn);
    grid.Rows(60);
    grid.RowMode(true);
    Click(1, 1);
    Key(VK_RIGHT);
    EXPECT_EQ(Current(), Cell(1, 1));
    EXPECT_EQ(grid.ScrollOffsetX(), 20);
    Key(VK_NEXT);
    EXPECT_GT(grid.SelectedRow(), 10) << "a page of the window's height";
    Key(VK_END);
    EXPECT_EQ(grid.ScrollOffsetY(), grid.ScrollBarsObject()->Max(cScrollBars::kVertical));
    // A press another window ends by taking the mouse (no release comes) is over: row mode then keeps
    // the view where it is while the keys move the row.
    Key(VK_HOME);
    ::SendMessageW(grid.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Inside(2, 1).x, Inside(2, 1).y));
    ::SetCapture(host.Hwnd());
    ::ReleaseCapture();
    ::SendMessageW(grid.hwnd(), WM_HSCROLL, SB_BOTTOM, 0);
    const long right = grid.ScrollOffsetX();
    Key(VK_DOWN);
    EXPECT_EQ(grid.SelectedRow(), 3);
    EXPECT_EQ(grid.ScrollOffsetX(), right);
}

TEST_F(InputTest, TheOwnerCanSwitchTheDefaultsOffTheDisabledGridOnlyScrollsAndTheWheelByNotches) {
    Fill(60);
    Click(1, 1);
    listener.keyDefault = listener.mouseDefault = false;
    const size_t changes = listener.selections.size();
    Key(VK_DOWN);
    Click(3, 3);
    EXPECT_EQ(Current(), Cell(1, 1));
    EXPECT_EQ(listener.selections.size(), changes);
    EXPECT_EQ(listener.mouseDowns, 2);
    listener.keyDefault = listener.mouseDefault = true;
    listener.keys.clear();
    grid.Enabled(false);
    Click(3, 2);
    Key(VK_DOWN);
    EXPECT_EQ(listener.mouseDowns, 2);
    EXPECT_TRUE(listener.keys.empty()) << "no events from a disabled grid";
    EXPECT_EQ(Current(), Cell(1, 1));
    EXPECT_EQ(grid.ScrollOffsetY(), kRow);
    Key(VK_NEXT);
    EXPECT_GT(grid.ScrollOffsetY(), kRow);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_TOP, 0);
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    for (const auto& [delta, offset] :
         {std::pair{-WHEEL_DELTA, lines * kRow}, {WHEEL_DELTA / 2, lines * kRow}, {WHEEL_DELTA / 2, 0u}}) {
        ::SendMessageW(grid.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0);
        EXPECT_EQ(grid.ScrollOffsetY(), static_cast<long>(offset)) << "half a notch waits";
    }
}

// A key-search column of names on a back colour of its own. The typed prefix shows inside the
// current cell in the grid's colours: its opaque background is the only place of the back colour in
// the highlighted cell. Once the prefix goes the cell must look as a full repaint draws it.
TEST_F(InputTest, TypedCharactersSearchAndThePrefixShowsTillAKeyAClickThePauseOrTheOwnerTakesIt) {
    constexpr COLORREF kBack = RGB(0, 200, 100);
    grid.BackColor(kBack);
    grid.AddColumn(L"name", L"Name", 0, -1, 120);
    grid.Rows(5);
    for (long r = 1; const wchar_t* name : {L"apple", L"banana", L"blueberry", L"cherry", L"\U0001F680 rocket"})
        grid.CellText(r++, 1, TaggedValue(name));
    grid.KeySearchColumn(1);
    Focus(true);
    Click(1, 1);
    Type(L"bl");
    EXPECT_EQ(grid.SelectedRow(), 3);
    EXPECT_EQ(grid.KeySearchText(), L"BL");
    Key(VK_UP);
    EXPECT_EQ(grid.KeySearchText(), L"") << "a navigation key takes the prefix away";
    listener.selections.clear();
    Type(L"\U0001F680");  // two WM_CHARs, searched for whole
    EXPECT_EQ(listener.selections, std::vector<Cell>{Cell(5, 1)});
    Key(VK_ESCAPE);
    RECT inner = CellRect(4, 1);
    ::InflateRect(&inner, -1, -1);
    for (const auto& [take, what] : std::initializer_list<std::pair<std::function<void()>, const char*>>{
             {[&] { Key(VK_ESCAPE); }, "Escape"},
             {[&] { Click(4, 1); }, "a click on the current cell"},
             {[&] { EXPECT_TRUE(PumpUntil([&] { return grid.KeySearchText().empty(); }, 3000)); }, "the pause"},
             {[&] { grid.KeySearchText(L""); }, "the owner"}}) {
        Click(1, 1);
        Type(L"ch");
        ASSERT_EQ(grid.SelectedRow(), 4);
        const Snapshot typed(grid.hwnd());
        EXPECT_GT(typed.Count(inner, kBack), 0) << what;
        take();
        EXPECT_EQ(grid.KeySearchText(), L"") << what;
        const Snapshot shown(grid.hwnd());
        Repaint();
        EXPECT_EQ(shown.Count(inner, kBack), 0) << what;
        EXPECT_TRUE(shown.SameAs(Snapshot(grid.hwnd()), CellRect(4, 1))) << "the prefix stayed after " << what;
    }
    grid.Editable(true);
    Type(L"a");
    EXPECT_EQ(grid.SelectedRow(), 4) << "an editable grid keeps typed characters for its owner's editor";
}

// A window with a menu bar that records the menu activations and the closing its child's keys bring
// about, carrying none of them out.
struct SystemKeyHost : Window {
    bool Create() {
        RegisterWindowClass(L"FerrylGridSystemKeyHost");
        HMENU bar = ::CreateMenu();
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), L"&File");
        return CreateHandle(L"FerrylGridSystemKeyHost", L"keys", WS_OVERLAPPEDWINDOW, 0, 0, 0, 400, 300, nullptr, bar);
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
            ++closes;
            return 0;
        }
        if (message == WM_INITMENU) {
            ++menusOpened;
            ::EndMenu();  // the menu loop ends at once, so that the test goes on
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
    int closes = 0, menusOpened = 0;
};

TEST(GridSystemKeys, AltKeysReachTheOwnerAndOnlyThoseItLeavesWorkTheWindowsMenuAndClose) {
    SystemKeyHost host;
    ASSERT_TRUE(host.Create());
    ::ShowWindow(host.Hwnd(), SW_SHOWNOACTIVATE);
    MoskGrid grid;
    ASSERT_TRUE(grid.Create(host.Hwnd(), 0, 0, 380, 240));
    RecordingListener listener;
    listener.handledAltKey = VK_RETURN;
    grid.SetListener(&listener);
    grid.AddColumn(L"c1");
    grid.Rows(3);
    grid.CellSelected(1, 1, true);
    // Alt+key as the system sends it: WM_SYSKEYDOWN with the Alt context bit, the character, the release.
    const auto alt = [&](WORD vk, wchar_t ch) {
        ::SendMessageW(grid.hwnd(), WM_SYSKEYDOWN, vk, 1 | (1 << 29));
        if (ch)
            ::SendMessageW(grid.hwnd(), WM_SYSCHAR, ch, 1 | (1 << 29));
        ::SendMessageW(grid.hwnd(), WM_SYSKEYUP, vk, 1 | (1 << 29) | (1 << 30) | static_cast<LPARAM>(1u << 31));
        PumpMessages();
    };
    alt(VK_RETURN, L'\r');
    EXPECT_EQ(listener.keys, (std::vector<std::pair<short, short>>{{VK_RETURN, 4}}));
    // Handled: DefWindowProc would have looked Enter up in the menu bar, found nothing and beeped.
    EXPECT_EQ(host.menusOpened, 0) << "the handled Alt+Enter went on to the menu bar";
    alt('F', L'f');
    EXPECT_EQ(host.menusOpened, 1) << "Alt+F opens the File menu";
    grid.Enabled(false);
    alt(VK_F4, 0);
    EXPECT_EQ(host.closes, 1) << "Alt+F4 closes, from a disabled grid too";
}

}  // namespace
}  // namespace ferryl::test
