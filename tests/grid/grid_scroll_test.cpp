// The real scroll bars (their arithmetic is tested in tests/core), the rows a scroll repaints and
// those it moves, Redraw.

#include "grid/scroll_bars.h"
#include "paint_fixture.h"

namespace ferryl::test {
namespace {

TEST_F(PaintTest, TheRangeEndsWhereTheLastRowMeetsTheBottomAndASmallScrollMovesTheBits) {
    Fill(30);
    cScrollBars& bars = *grid.ScrollBarsObject();
    ASSERT_TRUE(bars.Visible(cScrollBars::kVertical));
    const long max = 30 * kRow - grid.VisibleDataHeight();
    EXPECT_EQ(bars.Max(cScrollBars::kVertical), max);
    for (const auto& [code, offset] : {std::pair{SB_BOTTOM, max},
                                       {SB_LINEDOWN, max},
                                       {SB_PAGEDOWN, max},
                                       {SB_TOP, 0L},
                                       {SB_LINEUP, 0L},
                                       {SB_LINEDOWN, long{kRow}}}) {
        ::SendMessageW(grid.hwnd(), WM_VSCROLL, code, 0);
        EXPECT_EQ(grid.ScrollOffsetY(), offset) << code;
    }
    EXPECT_LE(grid.PaintedRowCount(), 2) << "a line: only the uncovered rows are painted";
    // What was row 2 now sits where row 1 was, moved rather than repainted.
    grid.CellBackColor(2, 1, RGB(0, 0, 200));
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEUP, 0);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Snapshot(grid.hwnd()).At(Inside(1, 1).x, Inside(1, 1).y), RGB(0, 0, 200));
    // A jump of half a page or more repaints every visible row.
    SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, 20 * kRow, 0};
    ::SetScrollInfo(grid.hwnd(), SB_VERT, &info, TRUE);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
    EXPECT_GE(grid.PaintedRowCount(), (grid.VisibleDataHeight() + kRow - 1) / kRow);
    // Fewer rows: the bar goes and the view returns to the top.
    grid.Rows(3);
    EXPECT_FALSE(bars.Visible(cScrollBars::kVertical));
    EXPECT_EQ(grid.ScrollOffsetY(), 0);
}

// The rows on the screen after a small scroll are those a full repaint draws, whatever moved the
// offsets before it without moving the screen's bits. Each row of column 1 has a colour of its own.
class TrueRowsTest : public PaintTest {
  protected:
    static COLORREF RowColor(long row) { return RGB(15 * row, 100, 255 - 15 * row); }
    void Colour(long from, long to) {
        for (long r = from; r <= to; ++r)
            grid.CellBackColor(r, 1, RowColor(r));
    }
    // Every row wholly in view shows its own colour, and nothing differs from a full repaint.
    void ExpectEveryRowTrue(const char* when) {
        Snapshot shown(grid.hwnd());
        for (long r = 1; r <= grid.Rows(); ++r) {
            const long top = kHeader + grid.RowStartY(r) - grid.ScrollOffsetY();
            if (top >= kHeader && top + kRow <= kHeader + grid.VisibleDataHeight()) {
                EXPECT_EQ(shown.At(60, top + kRow / 2), RowColor(r)) << when << ", row " << r;
            }
        }
        Repaint();
        EXPECT_TRUE(shown.SameAs(Snapshot(grid.hwnd()), shown.All())) << when;
    }
};

TEST_F(TrueRowsTest, WhenTheRangeShrankUnderThePositionOrTheBarWentDuringAPaint) {
    Fill(14);
    Colour(1, 14);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    // One row less: the system takes the position back a row on its own, without a message; then a
    // scroll back up smaller than half the view, as when row 1 is selected (in column 2).
    grid.RemoveRow(14);
    ASSERT_GT(grid.ScrollOffsetY(), 0);
    grid.CellSelected(1, 2, true);
    ASSERT_EQ(grid.ScrollOffsetY(), 0);
    ExpectEveryRowTrue("scrolled up after the removal");
    long row = 0, col = 0;
    grid.CellFromPoint(60, kHeader + kRow / 2 + 2 * kRow, row, col);
    EXPECT_EQ(row, 3) << "a click hits the row it shows";
    // Few rows: the bar goes, and its value returns to 0 while the paint is under way.
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    grid.Rows(5);
    grid.Rows(14);
    Colour(6, 14);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    ExpectEveryRowTrue("a line down after the bar came back");
}

TEST_F(PaintTest, NothingIsPaintedWhileRedrawIsOffAndHeldRangesComeOnceItResumes) {
    Fill(5);
    cScrollBars& bars = *grid.ScrollBarsObject();
    grid.Redraw(false);
    grid.RemoveRow(2);
    for (long r = 6; r <= 60; ++r) {
        grid.CellDetails(r, 1, TaggedValue(L"r" + std::to_wstring(r)));
        grid.CellSelected(r, 1, true);  // asks for the new row to be scrolled into view
    }
    grid.Draw();
    EXPECT_EQ(grid.PaintedRowCount(), 0);
    EXPECT_FALSE(bars.Visible(cScrollBars::kVertical)) << "nothing set while painting is held";
    grid.Redraw(true);
    ASSERT_TRUE(bars.Visible(cScrollBars::kVertical));
    EXPECT_EQ(bars.Max(cScrollBars::kVertical), 60 * kRow - grid.VisibleDataHeight());
    EXPECT_EQ(grid.ScrollOffsetY(), bars.Max(cScrollBars::kVertical)) << "the last row in view";
    EXPECT_EQ(grid.SelectedRow(), 60);
    grid.CellText(60, 1, TaggedValue(L"loud"));
    EXPECT_EQ(grid.PaintedRowCount(), 1);
}

}  // namespace
}  // namespace ferryl::test
