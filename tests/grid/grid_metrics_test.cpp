// Measuring: hit testing at row edges, the cell rectangle in twips, text measurement against
// DrawText, sizing to contents and scrolling a cell into view.

#include "common/twips.h"
#include "paint_fixture.h"

namespace ferryl::test {
namespace {

TEST_F(PaintTest, CellFromPointCountsFromBelowTheHeaderAndCellBoundaryIsTheTextAreaInTwips) {
    Fill(4);
    long row = -1, col = -1;
    grid.CellFromPoint(10, kHeader + kRow, row, col);  // beyond the last row is the model's, in tests/core
    EXPECT_EQ(std::pair(row, col), std::pair(1L, 1L));
    grid.CellFromPoint(kColumn + 1, kHeader + kRow + 1, row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(2L, 2L));
    grid.AddColumn(L"text", L"", 0, -1, 100, false, false, TaggedValue::Missing(), false, L"", true);
    grid.RowIsGroup(3, true);
    grid.CellFromPoint(10, kHeader + 2 * kRow + 5, row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(3L, 4L)) << "a group row answers with its row-text column";
    grid.CellIndent(2, 2, 5);
    long left, top, width, height;
    grid.CellBoundary(2, 2, left, top, width, height);
    EXPECT_EQ(left, (kColumn + 5) * TwipsPerPixelX());
    EXPECT_EQ(top, (kHeader + kRow) * TwipsPerPixelY());
    EXPECT_EQ(width, (kColumn - 5) * TwipsPerPixelX());
    EXPECT_EQ(height, kRow * TwipsPerPixelY());
}

TEST_F(PaintTest, MeasuringFollowsDrawTextSizingUsesItAndEnsureVisibleLeavesEightPixelsInside) {
    Fill(3);
    const std::wstring longText = L"A rather long text that does not fit";
    grid.CellText(1, 1, TaggedValue(longText));
    WindowDC screen(grid.hwnd());
    SelectGuard font(screen.get(), grid.FontHandle());
    RECT rc{0, 0, 0, 0};
    ::DrawTextW(screen.get(), longText.c_str(), -1, &rc, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    // The word ellipsis is left out when measuring: the full text counts.
    EXPECT_EQ(grid.EvaluateTextWidth(1, 1), rc.right);
    EXPECT_EQ(grid.EvaluateTextHeight(2, 1), rc.bottom);
    grid.AutoWidthColumn(TaggedValue(1L));
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(1L)), rc.right + 4);
    for (long r = 1; r <= 3; ++r)
        grid.CellText(r, 3, TaggedValue(L""));
    grid.AutoWidthColumn(TaggedValue(3L));
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(3L)), 26);
    grid.AutoHeightRow(2);
    EXPECT_EQ(grid.RowHeight(2), 22) << "single-line text below the default height: 20 + 2";

    for (int i = 4; i <= 8; ++i)
        grid.AddColumn(L"c" + std::to_wstring(i), L"", 0, -1, kColumn);
    grid.Rows(40);
    grid.EnsureVisible(1, 6);
    EXPECT_EQ(grid.ScrollOffsetX(), grid.ColumnTable()[6].lStartX + kColumn - grid.VisibleDataWidth() + 8);
    grid.EnsureVisible(30, 6);
    EXPECT_EQ(grid.ScrollOffsetY(), grid.RowStartY(30) + kRow - grid.VisibleDataHeight() + 8);
    // Scrolling back leaves 8 pixels above the row too, and stops at 0.
    grid.EnsureVisible(2, 1);
    EXPECT_EQ(grid.ScrollOffsetX(), 0);
    EXPECT_EQ(grid.ScrollOffsetY(), grid.RowStartY(2) - 8);
}

}  // namespace
}  // namespace ferryl::test
