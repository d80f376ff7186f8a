// Keys and clicks sent to the grid window: that they reach the model (whose rules for the current
// cell and the selection are tested natively in tests/core), the events with their default
// switches, the view that follows, the key search on the screen, the wheel, the disabled grid that
// only scrolls, and the Alt keys left to the window's menu.

#include "grid/scroll_bars.h"
#include "paint_fixture.h"

namespace ferryl::test {
namespace {

class InputTest : public PaintTest {
  protected:
    void SetUp() override {
        PaintTest::SetUp();
        Listen();
    }
    void Key(WORD vk, bool shift = false, bool ctrl = false) {
        BYTE state[256] = {};
        ::GetKeyboardState(state);
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
    std::pair<long, long> Current() const { return {grid.SelectedRow(), grid.SelectedCol()}; }
};

TEST_F(InputTest, KeysClicksAndTheirShiftAndCtrlReachTheModelAndTheOwnerHearsOfMoves) {
    Fill(6);
    grid.MultiSelect(true);
    Click(2, 1);
    EXPECT_EQ(Current(), (std::pair<long, long>{2, 1}));
    const size_t changes = listener.selections.size();
    Click(4, 2, MK_SHIFT);
    EXPECT_TRUE(grid.CellSelected(3, 2));
    EXPECT_EQ(Current(), (std::pair<long, long>{4, 2})) << "a range's far end becomes current";
    EXPECT_EQ(listener.selections.size(), changes + 1);
    Click(6, 3, MK_CONTROL);
    EXPECT_TRUE(grid.CellSelected(6, 3));
    // Shift+Tab is Shift+Left to the owner and to the model.
    Key(VK_TAB, true);
    EXPECT_EQ(std::pair(listener.keys.back(), listener.shifts.back()), (std::pair<short, short>{VK_LEFT, 1}));
    EXPECT_EQ(Current(), (std::pair<long, long>{6, 2}));
    EXPECT_TRUE(grid.CellSelected(6, 2));
    Key(VK_UP, false, true);
    EXPECT_EQ(Current(), (std::pair<long, long>{5, 2}));
    EXPECT_FALSE(grid.CellSelected(5, 2)) << "Ctrl+Up only moves";
    Key(VK_HOME);
    EXPECT_EQ(listener.selections.back(), (std::pair<long, long>{1, 2}));
    // The current cell clicked again asks for an edit only when editable, and so does Enter.
    Click(1, 2);
    EXPECT_TRUE(listener.edits.empty());
    grid.Editable(true);
    Click(1, 2);
    EXPECT_EQ(listener.edits, (std::vector<std::pair<long, long>>{{1, 2}}));
    grid.CancelEdit();
    Key(VK_RETURN);
    EXPECT_EQ(listener.edits.size(), 2u);
}

TEST_F(InputTest, RowModeArrowsScrollSidewaysPagesMoveTheRowAndTheViewFollows) {
    for (int i = 1; i <= 8; ++i)
        grid.AddColumn(L"c" + std::to_wstring(i), L"", 0, -1, kColumn);
    grid.Rows(60);
    grid.RowMode(true);
    Click(1, 1);
    Key(VK_RIGHT);
    EXPECT_EQ(Current(), (std::pair<long, long>{1, 1}));
    EXPECT_EQ(grid.ScrollOffsetX(), 20);
    Key(VK_NEXT);
    EXPECT_GT(grid.SelectedRow(), 10) << "a page of the window's height";
    Key(VK_END);
    EXPECT_EQ(grid.SelectedRow(), 60);
    EXPECT_EQ(grid.ScrollOffsetY(), grid.ScrollBarsObject()->Max(cScrollBars::kVertical));
    // A press that another window ends by taking the mouse (no release comes) is over: without a
    // press under way row mode keeps the view where it is while the keys move the row.
    Key(VK_HOME);
    EXPECT_EQ(grid.ScrollOffsetY(), 0);
    const LPARAM at = MAKELPARAM(Inside(2, 1).x, Inside(2, 1).y);
    ::SendMessageW(grid.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SetCapture(host.Hwnd());
    ::ReleaseCapture();
    ::SendMessageW(grid.hwnd(), WM_HSCROLL, SB_BOTTOM, 0);
    const long right = grid.ScrollOffsetX();
    Key(VK_DOWN);
    EXPECT_EQ(grid.SelectedRow(), 3);
    EXPECT_EQ(grid.ScrollOffsetX(), right);
}

TEST_F(InputTest, TheOwnerCanSwitchTheDefaultsOffAndTheDisabledGridOnlyScrolls) {
    Fill(60);
    Click(1, 1);
    listener.keyDefault = listener.mouseDefault = false;
    const size_t changes = listener.selections.size();
    Key(VK_DOWN);
    Click(3, 3);
    EXPECT_EQ(Current(), (std::pair<long, long>{1, 1}));
    EXPECT_EQ(listener.selections.size(), changes);
    EXPECT_EQ(listener.mouseDowns, 2);
    listener.keyDefault = listener.mouseDefault = true;
    listener.keys.clear();
    grid.Enabled(false);
    Click(3, 2);
    EXPECT_EQ(listener.mouseDowns, 2);
    Key(VK_DOWN);
    EXPECT_EQ(Current(), (std::pair<long, long>{1, 1}));
    EXPECT_EQ(grid.ScrollOffsetY(), kRow);
    Key(VK_NEXT);
    EXPECT_GT(grid.ScrollOffsetY(), kRow);
    EXPECT_TRUE(listener.keys.empty()) << "no KeyDown event from a disabled grid";
    // One wheel notch scrolls the system's lines of default rows; half a notch waits.
    grid.Enabled(true);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_TOP, 0);
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    for (const auto& [delta, offset] :
         {std::pair{-WHEEL_DELTA, lines * kRow}, {WHEEL_DELTA / 2, lines * kRow}, {WHEEL_DELTA / 2, 0u}}) {
        ::SendMessageW(grid.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0);
        EXPECT_EQ(grid.ScrollOffsetY(), static_cast<long>(offset));
    }
}

// A key-search column of five names, on a back colour of its own. The typed prefix shows inside the
// current cell in the grid's colours: its opaque background is the only place of the back colour
// in the highlighted cell. Once the search text is cleared the cell must look as a full repaint
// without a prefix draws it.
class KeySearchPrefixTest : public InputTest {
  protected:
    static constexpr COLORREF kBack = RGB(0, 200, 100);
    void SetUp() override {
        InputTest::SetUp();
        grid.BackColor(kBack);
        grid.AddColumn(L"name", L"Name", 0, -1, 120);
        const wchar_t* names[] = {L"apple", L"banana", L"blueberry", L"cherry", L"\U0001F680 rocket"};
        grid.Rows(5);
        for (long r = 1; r <= 5; ++r)
            grid.CellText(r, 1, TaggedValue(names[r - 1]));
        grid.KeySearchColumn(1);
        Focus(true);
    }
    int PrefixPixels() const {
        RECT inner = CellRect(4, 1);
        ::InflateRect(&inner, -1, -1);
        return Snapshot(grid.hwnd()).Count(inner, kBack);
    }
    // Types "ch" (row 4) and returns the screen with the prefix showing.
    Snapshot TypePrefix() {
        Click(1, 1);
        Type(L"ch");
        EXPECT_EQ(grid.SelectedRow(), 4);
        EXPECT_GT(PrefixPixels(), 0);
        return Snapshot(grid.hwnd());
    }
    void ExpectPrefixGone(const Snapshot& typed, const char* after) {
        EXPECT_EQ(grid.KeySearchText(), L"") << after;
        EXPECT_EQ(PrefixPixels(), 0) << after;
        Snapshot shown(grid.hwnd());
        Repaint();
        Snapshot repainted(grid.hwnd());
        EXPECT_FALSE(typed.SameAs(repainted, CellRect(4, 1))) << "the prefix showed before " << after;
        EXPECT_TRUE(shown.SameAs(repainted, CellRect(4, 1))) << "the prefix is still on the screen after " << after;
    }
};

TEST_F(KeySearchPrefixTest, TypedCharactersSearchAndThePrefixGoesWithAKeyEscapeAClickOrThePause) {
    Click(1, 1);
    Type(L"bl");
    EXPECT_EQ(grid.SelectedRow(), 3);
    EXPECT_EQ(grid.KeySearchText(), L"BL");
    Key(VK_UP);
    EXPECT_EQ(grid.KeySearchText(), L"") << "a navigation key takes the prefix away";
    // A character beyond U+FFFF comes as two WM_CHARs and is searched for whole.
    listener.selections.clear();
    Type(L"\U0001F680");
    EXPECT_EQ(listener.selections, (std::vector<std::pair<long, long>>{{5, 1}}));
    Key(VK_ESCAPE);
    Snapshot typed = TypePrefix();
    grid.KeySearchText(L"");
    ExpectPrefixGone(typed, "the owner cleared it");
    typed = TypePrefix();
    Key(VK_ESCAPE);
    ExpectPrefixGone(typed, "Escape");
    typed = TypePrefix();
    Click(4, 1);  // the current cell itself: no selection change repaints it
    ExpectPrefixGone(typed, "a click");
    typed = TypePrefix();
    EXPECT_TRUE(PumpUntil([&] { return grid.KeySearchText().empty(); }, 3000));
    ExpectPrefixGone(typed, "the pause");
    // An editable grid keeps typed characters for its owner's editor.
    grid.Editable(true);
    Type(L"a");
    EXPECT_EQ(grid.SelectedRow(), 4);
}

// A top-level window with a menu bar that records the system commands and menu activations its
// child's keys bring about, carrying none of them out.
class SystemKeyHost : public Window {
  public:
    bool Create() {
        RegisterWindowClass(L"FerrylGridSystemKeyHost");
        HMENU bar = ::CreateMenu();
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), L"&File");
        return CreateHandle(L"FerrylGridSystemKeyHost", L"keys", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 0, 400,
                            300, nullptr, bar) != nullptr;
    }
    std::vector<WPARAM> commands;
    int menusOpened = 0;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
            commands.push_back(SC_CLOSE);
            return 0;
        }
        if (message == WM_INITMENU) {
            ++menusOpened;
            ::EndMenu();  // the menu loop ends at once, so that the test goes on
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
};

// Alt+key as the system sends it: WM_SYSKEYDOWN with the Alt context bit, the character (for a
// letter) and the release.
void AltKey(HWND target, WORD vk, wchar_t ch = 0) {
    const LPARAM alt = 1 | (1 << 29);
    ::SendMessageW(target, WM_SYSKEYDOWN, vk, alt);
    if (ch)
        ::SendMessageW(target, WM_SYSCHAR, ch, alt);
    ::SendMessageW(target, WM_SYSKEYUP, vk, alt | (1 << 30) | static_cast<LPARAM>(1u << 31));
    PumpMessages();
}

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

    AltKey(grid.hwnd(), VK_RETURN, L'\r');
    EXPECT_EQ(listener.keys, (std::vector<short>{VK_RETURN}));
    EXPECT_EQ(listener.shifts, (std::vector<short>{4}));
    EXPECT_EQ(listener.upKeys, (std::vector<std::pair<short, short>>{{VK_RETURN, 4}}));
    // Handled: DefWindowProc would have looked Enter up in the menu bar, found nothing and beeped.
    EXPECT_EQ(host.menusOpened, 0) << "the handled Alt+Enter went on to the menu bar";
    AltKey(grid.hwnd(), VK_DOWN);
    EXPECT_EQ(grid.SelectedRow(), 1) << "the grid's own keys are the plain ones";
    AltKey(grid.hwnd(), 'F', L'f');
    EXPECT_EQ(host.menusOpened, 1) << "Alt+F opens the File menu";
    AltKey(grid.hwnd(), VK_MENU);
    EXPECT_EQ(host.menusOpened, 2) << "Alt alone opens the menu bar";
    AltKey(grid.hwnd(), VK_F4);
    EXPECT_EQ(host.commands, (std::vector<WPARAM>{SC_CLOSE}));
    // A disabled grid raises no key event, and Alt+F4 still closes.
    grid.Enabled(false);
    listener.keys.clear();
    AltKey(grid.hwnd(), VK_F4);
    EXPECT_TRUE(listener.keys.empty());
    EXPECT_EQ(host.commands.size(), 2u);
}

}  // namespace
}  // namespace ferryl::test
