// Redraw and design mode decide whether a change reaches the screen at all; rows that come in while
// painting is held leave the scroll bars alone until it resumes, which then sets them once, with
// the cell asked for in view.

#include "grid/grid_property_store.h"
#include "grid/scroll_bars.h"
#include "paint_fixture.h"

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

TEST_F(PaintTest, HeldPaintingRangesAndTheCellAskedForComeOnceItResumes) {
    Fill(5);
    cScrollBars& bars = *grid.ScrollBarsObject();
    ASSERT_FALSE(bars.Visible(cScrollBars::kVertical));
    grid.Redraw(false);
    for (long r = 6; r <= 60; ++r) {
        grid.CellDetails(r, 1, TaggedValue(L"r" + std::to_wstring(r)));
        grid.CellSelected(r, 1, true);  // asks for the new row to be scrolled into view
    }
    EXPECT_FALSE(bars.Visible(cScrollBars::kVertical)) << "nothing set while painting is held";
    EXPECT_EQ(grid.ScrollOffsetY(), 0);

    grid.Redraw(true);
    ASSERT_TRUE(bars.Visible(cScrollBars::kVertical));
    const long max = 60 * kRow - grid.VisibleDataHeight();
    EXPECT_EQ(bars.Max(cScrollBars::kVertical), max);
    EXPECT_EQ(grid.ScrollOffsetY(), max) << "row 60 in view";
    EXPECT_EQ(grid.SelectedRow(), 60);
}

}  // namespace
}  // namespace ferryl::test
