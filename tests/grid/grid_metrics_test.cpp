// Measuring: hit testing at row edges, the cell rectangle in twips, text measurement against
// DrawText, sizing to contents and scrolling a cell into view.

#include "common/twips.h"
#include "paint_fixture.h"

namespace ferryl::test {
namespace {

class MetricsTest : public PaintTest {};

TEST_F(MetricsTest, CellFromPointCountsFromBelowTheHeader) {
    Fill(4);
    long row = -1, col = -1;
    grid.CellFromPoint(10, kHeader + kRow, row, col);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 1);
    grid.CellFromPoint(kColumn + 1, kHeader + kRow + 1, row, col);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(col, 2);
    // Beyond the last row or column is the model's, tested in tests/core.

    grid.AddColumn(L"text", L"", 0, -1, 100, false, false, TaggedValue::Missing(), false, L"", true);
    grid.RowIsGroup(3, true);
    grid.CellFromPoint(10, kHeader + 2 * kRow + 5, row, col);
    EXPECT_EQ(row, 3);
    EXPECT_EQ(col, 4);  // a group row answers with its row-text column
}

TEST_F(MetricsTest, CellBoundaryIsTheTextAreaInTwips) {
    Fill(3);
    grid.CellIndent(2, 2, 5);
    long left, top, width, height;
    grid.CellBoundary(2, 2, left, top, width, height);
    EXPECT_EQ(left, (kColumn + 5) * TwipsPerPixelX());
    EXPECT_EQ(top, (kHeader + kRow) * TwipsPerPixelY());
    EXPECT_EQ(width, (kColumn - 5) * TwipsPerPixelX());
    EXPECT_EQ(height, kRow * TwipsPerPixelY());
    EXPECT_EQ(CatchGridError([&] { grid.CellBoundary(9, 1, left, top, width, height); }).Number(), 9);
}

TEST_F(MetricsTest, MeasuringFollowsDrawTextAndSizingUsesIt) {
    Fill(3);
    std::wstring longText = L"A rather long text that does not fit";
    grid.CellText(1, 1, TaggedValue(longText));
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, grid.FontHandle());
    RECT rc{0, 0, 0, 0};
    ::DrawTextW(dc, longText.c_str(), -1, &rc, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    // The word ellipsis is left out when measuring: the full text counts.
    EXPECT_EQ(grid.EvaluateTextWidth(1, 1), rc.right);
    EXPECT_GT(rc.right, kColumn);

    grid.AutoWidthColumn(TaggedValue(1L));
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(1L)), rc.right + 4);
    for (long r = 1; r <= 3; ++r)
        grid.CellText(r, 3, TaggedValue(L""));
    grid.AutoWidthColumn(TaggedValue(3L));
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(3L)), 26);

    grid.AutoHeightRow(2);
    EXPECT_EQ(grid.RowHeight(2), 22);  // single-line text below the default height: 20 + 2
    EXPECT_EQ(grid.EvaluateTextHeight(2, 1), rc.bottom);
}

TEST_F(MetricsTest, EnsureVisibleLeavesTheRightEdgeEightPixelsInside) {
    for (int i = 1; i <= 8; ++i)
        grid.AddColumn(L"c" + std::to_wstring(i), L"", 0, -1, kColumn);
    grid.Rows(40);
    grid.EnsureVisible(1, 6);
    EXPECT_EQ(grid.ScrollOffsetX(), 6 * kColumn - grid.VisibleDataWidth() + 8);
    grid.EnsureVisible(30, 6);
    EXPECT_EQ(grid.ScrollOffsetY(), 30 * kRow - grid.VisibleDataHeight() + 8);
    // Scrolling back leaves 8 pixels above the row too (row 2 starts at 20), and stops at 0.
    grid.EnsureVisible(2, 1);
    EXPECT_EQ(grid.ScrollOffsetX(), 0);
    EXPECT_EQ(grid.ScrollOffsetY(), kRow - 8);
}

}  // namespace
}  // namespace ferryl::test
