// The grid as a screen reader reads it: multiple selection, hidden and scrolled rows, the default
// action, the reorder events of batches and sorts, and the object outliving the grid.

#include <memory>
#include <vector>

#include "grid/shell_sort.h"
#include "grid_fixture.h"
#include "support/accessibility.h"
#include "support/messages.h"

namespace ferryl::test {
namespace {

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

TEST_F(GridAccessibleTest, HiddenRowsAreInvisibleAndRowsOutOfViewAreOffscreen) {
    grid.RowVisible(5, false);
    EXPECT_EQ(State(access.get(), 5) & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN),
              STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN);
    EXPECT_FALSE(State(access.get(), 4) & STATE_SYSTEM_OFFSCREEN);
    EXPECT_TRUE(State(access.get(), 30) & STATE_SYSTEM_OFFSCREEN) << "below the visible rows";
    LONG x = 0, y = 0, width = 0, height = 7;
    ASSERT_EQ(access->accLocation(&x, &y, &width, &height, Child(5)), S_OK);
    EXPECT_EQ(height, 0);

    VARIANT end;
    ASSERT_EQ(access->accNavigate(NAVDIR_DOWN, Child(4), &end), S_OK);
    EXPECT_EQ(ChildId(end), 6) << "on the screen the hidden row is passed over";
    ASSERT_EQ(access->accNavigate(NAVDIR_NEXT, Child(4), &end), S_OK);
    EXPECT_EQ(ChildId(end), 5) << "but it is still the next child";
    EXPECT_EQ(access->accNavigate(NAVDIR_PREVIOUS, Child(1), &end), S_FALSE);
    EXPECT_EQ(access->accNavigate(0x1234, Child(1), &end), E_INVALIDARG);

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

TEST_F(GridAccessibleTest, ABatchOrASortIsOneReorderAndOtherObjectsAreTheSystems) {
    WinEventRecorder events(EVENT_OBJECT_REORDER, EVENT_OBJECT_SELECTION, ::GetCurrentProcessId());
    grid.Redraw(false);
    for (int i = 0; i < 50; ++i)
        grid.AddRow();
    EXPECT_EQ(events.Count(EVENT_OBJECT_REORDER, grid.hwnd(), CHILDID_SELF), 0u) << "not while painting is held";
    grid.Redraw(true);
    EXPECT_EQ(events.Count(EVENT_OBJECT_REORDER, grid.hwnd(), CHILDID_SELF), 1u);
    grid.SortObject().SortColumn(1, 1);
    grid.Sort();
    EXPECT_EQ(events.Count(EVENT_OBJECT_REORDER, grid.hwnd(), CHILDID_SELF), 2u);

    // The window's frame, its scroll bars and the caret stay with the system.
    for (LONG id : {OBJID_WINDOW, OBJID_VSCROLL, OBJID_CARET})
        EXPECT_EQ(::SendMessageW(grid.hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(id)), 0) << id;
    EXPECT_GT(::SendMessageW(grid.hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)), 0);
}

TEST_F(GridTest, TheAccessibleObjectOutlivesTheGridWithoutReachingIt) {
    auto other = std::make_unique<MoskGrid>();
    ASSERT_TRUE(other->Create(host.Hwnd(), 0, 0, 200, 100));
    other->AddColumn(L"c1");
    other->Rows(2);
    AccessibleRef access = ClientAccessible(other->hwnd());
    ASSERT_TRUE(access);
    other.reset();
    LONG count = 5;
    EXPECT_EQ(access->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(access->accDoDefaultAction(Child(1)), CO_E_OBJNOTCONNECTED);
    IDispatch* parent = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(access->get_accParent(&parent), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(parent, nullptr);
}

}  // namespace
}  // namespace ferryl::test
