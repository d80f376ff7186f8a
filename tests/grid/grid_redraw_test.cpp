// Redraw and design mode decide whether a change reaches the screen at all.

#include "grid/grid_property_store.h"
#include "grid_fixture.h"

namespace ferryl::test {
namespace {

TEST_F(GridTest, NothingIsPaintedWhileRedrawIsOff) {
    AddColumns(2);
    grid.Rows(3);
    grid.Redraw(false);
    grid.CellText(1, 1, TaggedValue(L"quiet"));
    grid.AddRow();
    grid.RemoveRow(2);
    grid.Draw();
    EXPECT_EQ(grid.PaintedRowCount(), 0);
    grid.Redraw(true);
    EXPECT_EQ(grid.PaintedRowCount(), 3);
    grid.CellText(1, 1, TaggedValue(L"loud"));
    EXPECT_EQ(grid.PaintedRowCount(), 1);
}

TEST_F(GridTest, LoadedInDesignModeTheGridPaintsNothing) {
    AddColumns(1);
    grid.ReadProperties(GridPropertyStore(), false);
    EXPECT_FALSE(grid.UserMode());
    EXPECT_EQ(grid.ScrollBarsObject(), nullptr);
    grid.Rows(4);
    grid.Redraw(true);
    EXPECT_EQ(grid.PaintedRowCount(), 0);
}

}  // namespace
}  // namespace ferryl::test
