// Scroll ranges: the real bars of a grid window (the arithmetic is tested in the core).

#include "grid/grid_property_store.h"
#include "grid/scroll_bars.h"
#include "paint_fixture.h"

namespace ferryl::test {
namespace {

class ScrollTest : public PaintTest {};

TEST_F(ScrollTest, TheBarsRangeEndsWhereTheLastRowMeetsTheBottom) {
    Fill(30);
    cScrollBars& bars = *grid.ScrollBarsObject();
    ASSERT_TRUE(bars.Visible(cScrollBars::kVertical));
    EXPECT_FALSE(bars.Visible(cScrollBars::kHorizontal));
    long max = 30 * kRow - grid.VisibleDataHeight();
    EXPECT_EQ(bars.Max(cScrollBars::kVertical), max);

    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(grid.ScrollOffsetY(), max);
    // No further: the thumb stops at Max, not one pixel past it.
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(grid.ScrollOffsetY(), max);
    // Row 30 is the last one in view, ending on the bottom edge.
    EXPECT_EQ(grid.RowStartY(30) + kRow - grid.ScrollOffsetY(), grid.VisibleDataHeight());

    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(grid.ScrollOffsetY(), 0);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(grid.ScrollOffsetY(), 0);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid.ScrollOffsetY(), kRow);  // one default row

    // Fewer rows: the bar goes and the view returns to the top.
    grid.Rows(3);
    EXPECT_FALSE(bars.Visible(cScrollBars::kVertical));
    EXPECT_EQ(grid.ScrollOffsetY(), 0);
}

TEST_F(ScrollTest, ASmallScrollMovesTheBitsAndPaintsOnlyTheUncoveredRows) {
    Fill(60);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_LE(grid.PaintedRowCount(), 2);
    // What was row 2 now sits where row 1 was, moved rather than repainted.
    grid.CellBackColor(2, 1, RGB(0, 0, 200));
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEUP, 0);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    POINT top = Inside(1, 1);
    EXPECT_EQ(Snapshot(grid.hwnd()).At(top.x, top.y), RGB(0, 0, 200));
    // A jump of half a page or more repaints every visible row.
    long visibleRows = (grid.VisibleDataHeight() + kRow - 1) / kRow;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    info.nPos = 30 * kRow;
    ::SetScrollInfo(grid.hwnd(), SB_VERT, &info, TRUE);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
    EXPECT_GE(grid.PaintedRowCount(), visibleRows);
}

// The rows on the screen after a small scroll are those a full repaint draws, whatever moved the
// offsets before it without moving the screen's bits. Each row of column 1 has a colour of its own.
class TrueRowsTest : public ScrollTest {
  protected:
    static COLORREF RowColor(long row) { return RGB(15 * row, 100, 255 - 15 * row); }
    void FillColored(long rows) {
        Fill(rows);
        for (long r = 1; r <= rows; ++r)
            grid.CellBackColor(r, 1, RowColor(r));
    }
    // Every row wholly in view shows its own colour, and nothing differs from a full repaint.
    void ExpectEveryRowTrue(const char* when) {
        Snapshot shown(grid.hwnd());
        for (long r = 1; r <= grid.Rows(); ++r) {
            long top = kHeader + grid.RowStartY(r) - grid.ScrollOffsetY();
            if (top >= kHeader && top + kRow <= kHeader + grid.VisibleDataHeight()) {
                EXPECT_EQ(shown.At(60, top + kRow / 2), RowColor(r)) << when << ", row " << r;
            }
        }
        Repaint();
        EXPECT_TRUE(shown.SameAs(Snapshot(grid.hwnd()), shown.All())) << when;
    }
};

TEST_F(TrueRowsTest, WhenTheRangeShrankUnderTheScrollPosition) {
    FillColored(14);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_GT(grid.ScrollOffsetY(), kRow);
    // One row less: the system takes the position back a row on its own, without a message.
    grid.RemoveRow(14);
    long shrunk = grid.ScrollOffsetY();
    ASSERT_GT(shrunk, 0);
    // Then a scroll back up smaller than half the view, as when row 1 is selected (in column 2, so
    // that column 1 keeps the row's colour).
    grid.CellSelected(1, 2, true);
    ASSERT_EQ(grid.ScrollOffsetY(), 0);
    ExpectEveryRowTrue("scrolled up after the removal");
    // A click hits the row it shows.
    long row = 0, col = 0;
    grid.CellFromPoint(60, kHeader + kRow / 2 + 2 * kRow, row, col);
    EXPECT_EQ(row, 3);
}

TEST_F(TrueRowsTest, WhenTheBarWentDuringAPaintOrTheGridWasCleared) {
    FillColored(14);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    // Few rows: the bar goes, and its value returns to 0 while the paint is under way.
    grid.Rows(5);
    grid.Rows(14);
    for (long r = 6; r <= 14; ++r)
        grid.CellBackColor(r, 1, RowColor(r));
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    ExpectEveryRowTrue("a line down after the bar came back");

    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    grid.Clear(true);
    grid.Clear(true);  // on a grid already empty
    FillColored(14);
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    ExpectEveryRowTrue("a line down after Clear");
}

class VirtualTest : public ScrollTest {
  protected:
    void SetUp() override {
        ScrollTest::SetUp();
        Listen();
        grid.AddColumn(L"c1", L"Virtual", 0, -1, 200);
    }
};

TEST_F(VirtualTest, VirtualModeAsksForRowsAsTheyComeIntoViewUntilToldNoMore) {
    listener.lastRow = 25;
    grid.Virtual(true);
    grid.Draw();
    long visibleRows = (grid.VisibleDataHeight() + kRow - 1) / kRow;
    EXPECT_EQ(grid.Rows(), visibleRows);
    ASSERT_FALSE(listener.requested.empty());
    EXPECT_EQ(listener.requested.front(), 1);
    // The range keeps one default row of room for the next row.
    EXPECT_EQ(grid.ScrollBarsObject()->Max(cScrollBars::kVertical),
              (visibleRows + 1) * kRow - grid.VisibleDataHeight());
    for (int i = 0; i < 40 && grid.MoreRows(); ++i)
        ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_FALSE(grid.MoreRows());
    EXPECT_EQ(grid.Rows(), 25);
    EXPECT_EQ(listener.requested.back(), 26);  // the one answered with "no more"
    EXPECT_EQ(grid.CellText(25, 1).ToText(), L"row 25");
    size_t asked = listener.requested.size();
    ::SendMessageW(grid.hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
    grid.Draw();
    EXPECT_EQ(listener.requested.size(), asked);
    EXPECT_EQ(grid.ScrollBarsObject()->Max(cScrollBars::kVertical), 25 * kRow - grid.VisibleDataHeight());
}

TEST_F(VirtualTest, ADefaultRowHeightOfZeroOrLessIsTakenAsOnePixel) {
    listener.lastRow = 100000;
    grid.DefaultRowHeight(0);
    grid.Virtual(true);
    grid.Draw();  // the view fills with rows of one pixel, and the paint ends
    EXPECT_GE(grid.Rows(), grid.VisibleDataHeight());
    EXPECT_LE(grid.Rows(), grid.VisibleDataHeight() + 2);
    EXPECT_EQ(grid.RowHeight(1), 1);
    EXPECT_EQ(grid.DefaultRowHeight(), 0) << "the property keeps what was set";
    GridPropertyStore store;
    grid.WriteProperties(store);
    EXPECT_EQ(store.ReadProperty(L"DefaultRowHeight", TaggedValue(20L)).ToNumber(), 0.0);
    grid.DefaultRowHeight(-5);
    grid.AddRow();
    EXPECT_EQ(grid.RowHeight(grid.Rows()), 1);
}

}  // namespace
}  // namespace ferryl::test
