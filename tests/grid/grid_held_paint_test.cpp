// Rows that come in while the grid's painting is held: the scroll bars are left alone until it
// resumes, and are then set once, with the cell asked for in view.

#include "grid/scroll_bars.h"
#include "paint_fixture.h"

namespace ferryl::test {
namespace {

class HeldPaintingTest : public PaintTest {};

TEST_F(HeldPaintingTest, RangesAndTheCellAskedForComeOnceItResumes) {
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
