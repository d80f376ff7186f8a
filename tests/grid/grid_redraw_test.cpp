// Redraw and design mode decide whether a change reaches the window as an area to repaint.

#include "grid/grid_property_store.h"
#include "grid_fixture.h"

namespace ferryl::test {
namespace {

bool NeedsPaint(HWND hwnd) {
    return ::GetUpdateRect(hwnd, nullptr, FALSE) != FALSE;
}

TEST_F(GridTest, NothingIsInvalidatedWhileRedrawIsOff) {
    AddColumns(2);
    grid.Rows(3);
    ::ValidateRect(grid.hwnd(), nullptr);
    grid.Redraw(false);
    ::ValidateRect(grid.hwnd(), nullptr);
    grid.CellText(1, 1, TaggedValue(L"quiet"));
    grid.AddRow();
    grid.RemoveRow(2);
    EXPECT_FALSE(NeedsPaint(grid.hwnd()));
    grid.Redraw(true);
    EXPECT_TRUE(NeedsPaint(grid.hwnd()));
    ::ValidateRect(grid.hwnd(), nullptr);
    grid.CellText(1, 1, TaggedValue(L"loud"));
    EXPECT_TRUE(NeedsPaint(grid.hwnd()));
}

TEST_F(GridTest, LoadedInDesignModeTheGridPaintsNothing) {
    AddColumns(1);
    grid.ReadProperties(GridPropertyStore(), false);
    EXPECT_FALSE(grid.UserMode());
    ::ValidateRect(grid.hwnd(), nullptr);
    grid.Rows(4);
    grid.Redraw(true);
    EXPECT_FALSE(NeedsPaint(grid.hwnd()));
}

}  // namespace
}  // namespace ferryl::test
