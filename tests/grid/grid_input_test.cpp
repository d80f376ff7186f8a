// What the user does to the grid window: keys and clicks reaching the model (whose rules are tested
// in tests/core), the events and their default switches, the view that follows, the key search on
// the screen, the Alt keys left to the menu; and what a screen reader reads and selects.

#include "grid/scroll_bars.h"
#include "paint_fixture.h"
#include "support/accessibility.h"

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
    EXPECT_EQ(listener.selections.size(), changes + 1);
    Click(6, 3, MK_CONTROL);
    EXPECT_TRUE(grid.CellSelected(6, 3));
    Key(VK_TAB, true);
    EXPECT_EQ(listener.keys.back(), (std::pair<short, short>(VK_LEFT, 1))) << "Shift+Tab is Shift+Left";
    Key(VK_UP, false, true);
    EXPECT_EQ(Current(), Cell(5, 2));
    EXPECT_FALSE(grid.CellSelected(5, 2)) << "Ctrl+Up only moves";
    Key(VK_HOME);
    EXPECT_EQ(listener.selections.back(), Cell(1, 2));
}

TEST_F(InputTest, RowModeArrowsScrollSidewaysPagesMoveTheRowAndALostPressLeavesTheView) {
    for (int i = 1; i <= 8; ++i)
        grid.AddColumn(L"c" + std::to_wstring(i), L"", 0, -1, kColumn);
    grid.Rows(60);
    grid.RowMode(true);
    Click(1, 1);
    Key(VK_RIGHT);
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

TEST_F(InputTest, TheDisabledGridOnlyScrollsAndTheWheelByNotches) {
    Fill(60);
    Click(1, 1);
    listener.keys.clear();
    grid.Enabled(false);
    Click(3, 2);
    Key(VK_DOWN);
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

// The prefix's opaque background is the only back colour in the highlighted cell; once it goes the
// cell must look as a full repaint draws it.
TEST_F(InputTest, TypedCharactersSearchAndThePrefixShowsTillAKeyAClickOrThePauseTakesIt) {
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
             {[&] { EXPECT_TRUE(PumpUntil([&] { return grid.KeySearchText().empty(); }, 3000)); }, "the pause"}}) {
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
}

TEST_F(InputTest, AltKeysReachTheOwnerAndOnlyThoseItLeavesWorkTheWindowsMenuAndClose) {
    listener.handledAltKey = VK_RETURN;
    Fill(3);
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

class GridAccessibleTest : public GridTest {
  protected:
    void SetUp() override {
        GridTest::SetUp();
        AddColumns(2);
        grid.Rows(30);
        for (long r = 1; r <= 30; ++r)
            grid.CellText(r, 1, TaggedValue(L"row " + std::to_wstring(r)));
        grid.RowMode(true);
        grid.SelectedRow(1);
        access = ClientAccessible(grid.hwnd());
        ASSERT_TRUE(access);
    }
    void TearDown() override { access.Reset(); }

    AccessibleRef access;
};

TEST_F(GridAccessibleTest, SeveralRowsAreAddedRemovedAndExtendedWithMultiSelect) {
    EXPECT_EQ(access->accSelect(SELFLAG_ADDSELECTION, Child(3)), E_INVALIDARG) << "single selection";
    grid.MultiSelect(true);
    EXPECT_TRUE(State(access.get(), CHILDID_SELF) & STATE_SYSTEM_MULTISELECTABLE);
    ASSERT_EQ(access->accSelect(SELFLAG_ADDSELECTION, Child(3)), S_OK);
    EXPECT_EQ(Selection(access.get()), (std::vector<long>{1, 3}));
    EXPECT_EQ(grid.SelectedRow(), 1) << "adding to the selection leaves the current row";
    ASSERT_EQ(access->accSelect(SELFLAG_REMOVESELECTION, Child(1)), S_OK);
    EXPECT_EQ(Selection(access.get()), (std::vector<long>{3}));
    ASSERT_EQ(access->accSelect(SELFLAG_TAKEFOCUS, Child(5)), S_OK);
    EXPECT_EQ(grid.SelectedRow(), 5);
    EXPECT_EQ(Selection(access.get()), (std::vector<long>{3})) << "focus alone selects nothing";
    ASSERT_EQ(access->accSelect(SELFLAG_EXTENDSELECTION | SELFLAG_ADDSELECTION, Child(7)), S_OK);
    EXPECT_EQ(Selection(access.get()), (std::vector<long>{3, 5, 6, 7}));
    ASSERT_EQ(access->accSelect(SELFLAG_TAKESELECTION, Child(2)), S_OK);
    EXPECT_EQ(Selection(access.get()), (std::vector<long>{2}));
    EXPECT_EQ(listener.selections.back(), (std::pair<long, long>{2, 1}));
}

TEST_F(GridAccessibleTest, RowsOutOfViewAreOffscreenAndNavigationStopsAtTheEnds) {
    EXPECT_FALSE(State(access.get(), 4) & STATE_SYSTEM_OFFSCREEN);
    EXPECT_TRUE(State(access.get(), 30) & STATE_SYSTEM_OFFSCREEN) << "below the visible rows";
    VARIANT end;
    ASSERT_EQ(access->accNavigate(NAVDIR_DOWN, Child(4), &end), S_OK);
    EXPECT_EQ(ChildId(end), 5);
    EXPECT_EQ(access->accNavigate(NAVDIR_PREVIOUS, Child(1), &end), S_FALSE);
    // Selecting a row out of view scrolls it in.
    ASSERT_EQ(access->accSelect(SELFLAG_TAKESELECTION, Child(30)), S_OK);
    EXPECT_FALSE(State(access.get(), 30) & STATE_SYSTEM_OFFSCREEN);
    EXPECT_TRUE(State(access.get(), 1) & STATE_SYSTEM_OFFSCREEN);
}

TEST_F(GridAccessibleTest, TheDefaultActionIsADoubleClickOnceTheCallerIsBackAndADisabledGridOnlyReads) {
    EXPECT_EQ(DefaultAction(access.get(), 4), L"Double Click");
    ASSERT_EQ(access->accDoDefaultAction(Child(4)), S_OK);
    EXPECT_TRUE(listener.doubleClicks.empty()) << "not while the caller waits";
    PumpMessages();
    EXPECT_EQ(listener.doubleClicks, (std::vector<std::pair<long, long>>{{4, 1}}));
    EXPECT_EQ(grid.SelectedRow(), 4);
    EXPECT_EQ(access->accDoDefaultAction(Child(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
    grid.Enabled(false);
    EXPECT_TRUE(State(access.get(), 2) & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(Name(access.get(), 2), L"row 2");
    EXPECT_EQ(access->accSelect(SELFLAG_TAKESELECTION, Child(2)), E_FAIL);
    EXPECT_EQ(access->accDoDefaultAction(Child(2)), E_FAIL);
    EXPECT_EQ(grid.SelectedRow(), 4);
}

TEST_F(GridAccessibleTest, ABatchIsOneReorderAndOtherObjectsAreTheSystems) {
    WinEventRecorder events(EVENT_OBJECT_REORDER, EVENT_OBJECT_SELECTION, ::GetCurrentProcessId());
    grid.Redraw(false);
    for (int i = 0; i < 50; ++i)
        grid.AddRow();
    EXPECT_EQ(events.Count(EVENT_OBJECT_REORDER, grid.hwnd(), CHILDID_SELF), 0u) << "not while painting is held";
    grid.Redraw(true);
    EXPECT_EQ(events.Count(EVENT_OBJECT_REORDER, grid.hwnd(), CHILDID_SELF), 1u);
    // The window's frame, its scroll bars and the caret stay with the system.
    for (LONG id : {OBJID_WINDOW, OBJID_VSCROLL, OBJID_CARET})
        EXPECT_EQ(::SendMessageW(grid.hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(id)), 0) << id;
    EXPECT_GT(::SendMessageW(grid.hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)), 0);
}

}  // namespace
}  // namespace ferryl::test
