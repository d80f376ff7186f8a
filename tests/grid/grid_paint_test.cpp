// The painter read back as pixels: highlight, grid lines, focus frame, cut text, what one change
// repaints; and a monitor of another scale.

#include "common/twips.h"
#include "grid/header_control.h"
#include "paint_fixture.h"

namespace ferryl::test {
namespace {

TEST_F(PaintTest, SelectionShowsInTheHighlightWithTheFocusAndInButtonFaceWithout) {
    Fill(5);
    grid.SelectedRow(2);
    grid.SelectedCol(2);
    Focus(true);
    Snapshot focused(grid.hwnd());
    EXPECT_TRUE(ShowsText(focused, 2, 2, L"r2", Sys(COLOR_HIGHLIGHTTEXT), Sys(COLOR_HIGHLIGHT)));
    EXPECT_TRUE(ShowsText(focused, 2, 1, L"r2", Sys(COLOR_WINDOWTEXT), Sys(COLOR_WINDOW)));
    Focus(false);
    EXPECT_TRUE(ShowsText(Snapshot(grid.hwnd()), 2, 2, L"r2", Sys(COLOR_WINDOWTEXT), Sys(COLOR_BTNFACE)));
    grid.RowMode(true);
    grid.SelectedRow(4);
    Focus(true);
    Snapshot shot(grid.hwnd());
    for (long c = 1; c <= 3; ++c) {
        EXPECT_EQ(shot.At(Inside(4, c).x, Inside(4, c).y), Sys(COLOR_HIGHLIGHT)) << "column " << c;
        EXPECT_EQ(shot.At(Inside(2, c).x, Inside(2, c).y), Sys(COLOR_WINDOW)) << "column " << c;
    }
}

TEST_F(PaintTest, GridLinesLieOnTheEdgesAndTheFocusFrameOnTheCurrentCellWithTheFocusOnly) {
    Fill(4);
    grid.GridLineColor(RGB(255, 0, 0));
    grid.GridLines(true);
    Snapshot lines(grid.hwnd());
    const int y = Inside(2, 1).y;
    EXPECT_EQ(lines.At(kColumn, y), RGB(255, 0, 0));
    EXPECT_EQ(lines.At(2 * kColumn, y), RGB(255, 0, 0));
    EXPECT_EQ(lines.At(40, kHeader + kRow), RGB(255, 0, 0));  // between rows 1 and 2
    grid.GridLines(false);
    grid.SelectedRow(3);
    grid.SelectedCol(2);
    const RECT cell = CellRect(3, 2), topEdge{cell.left + 2, cell.top, cell.right - 2, cell.top + 1};
    const int edge = topEdge.right - topEdge.left;
    Focus(false);
    EXPECT_EQ(Snapshot(grid.hwnd()).Count(topEdge, Sys(COLOR_WINDOW)), edge);
    Focus(true);
    // The dotted frame changes about every other pixel of the edge.
    const int plain = Snapshot(grid.hwnd()).Count(topEdge, Sys(COLOR_WINDOW));
    EXPECT_LT(plain, edge * 3 / 4);
    EXPECT_GT(plain, 0);
}

TEST_F(PaintTest, ALongTextIsCutInsideItsCellAndTheDisabledGridShowsNoColours) {
    Fill(3);
    const std::wstring longText(40, L'W');
    grid.CellText(1, 1, TaggedValue(longText));
    grid.CellText(1, 2, TaggedValue(L""));
    Snapshot shot(grid.hwnd());
    // What DrawText gives for the long text with its ellipsis, and nothing spills into the next cell.
    EXPECT_TRUE(ShowsText(shot, 1, 1, longText, Sys(COLOR_WINDOWTEXT), Sys(COLOR_WINDOW)));
    EXPECT_EQ(shot.Count(CellRect(1, 2), Sys(COLOR_WINDOW)), kColumn * kRow);
    grid.Enabled(false);
    EXPECT_TRUE(ShowsText(Snapshot(grid.hwnd()), 2, 1, L"r2", Sys(COLOR_GRAYTEXT), Sys(COLOR_BTNFACE)));
}

TEST_F(PaintTest, AChangeRepaintsOnlyItsRowAndAFullRepaintWhatIsVisible) {
    Fill(40);
    grid.CellText(3, 2, TaggedValue(L"changed"));
    EXPECT_EQ(grid.PaintedRowCount(), 1);
    grid.CellBackColor(5, 1, RGB(1, 2, 3));
    EXPECT_EQ(grid.PaintedRowCount(), 1);
    grid.CellText(39, 1, TaggedValue(L"far"));
    EXPECT_EQ(grid.PaintedRowCount(), 0) << "a row out of view";
    Repaint();
    EXPECT_EQ(grid.PaintedRowCount(), (grid.VisibleDataHeight() + kRow - 1) / kRow);
}

LONG FontHeight(HFONT font) {
    LOGFONTW lf{};
    ::GetObjectW(font, sizeof lf, &lf);
    return lf.lfHeight;
}

TEST_F(PaintTest, SizesFontsAndTwipsFollowTheDpiAndComeBack) {
    Fill(3);
    grid.RowHeight(3, 31);
    const int from = grid.Dpi(), to = from * 3 / 2;
    ASSERT_EQ(from, WindowDpi(grid.hwnd()));
    const LONG controlHeight = FontHeight(grid.FontHandle());
    grid.Dpi(to);
    EXPECT_EQ(grid.RowHeight(1), kRow * 3 / 2);
    EXPECT_EQ(grid.RowHeight(3), ::MulDiv(31, to, from)) << "rounded half up";
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(L"c2")), kColumn * 3 / 2);
    EXPECT_EQ(grid.HeaderObject()->Height(), kHeader * 3 / 2);
    EXPECT_EQ(grid.HeaderObject()->ColumnWidth(1), kColumn * 3 / 2) << "the header items follow";
    EXPECT_GE(grid.RowBufferHeight(), grid.RowHeight(3));
    EXPECT_NEAR(FontHeight(grid.FontHandle()), controlHeight * 1.5, 1);
    EXPECT_NEAR(FontHeight(reinterpret_cast<HFONT>(::SendMessageW(grid.HeaderHwnd(), WM_GETFONT, 0, 0))),
                controlHeight * 1.5, 1);
    // Cells sit where the new sizes put them, in the twips of the new DPI.
    long left, top, width, height;
    grid.CellBoundary(2, 2, left, top, width, height);
    EXPECT_EQ(left, kColumn * 3 / 2 * TwipsPerPixel(to));
    EXPECT_EQ(top, (kHeader + kRow) * 3 / 2 * TwipsPerPixel(to));
    EXPECT_EQ(height, kRow * 3 / 2 * TwipsPerPixel(to));

    grid.Dpi(from);
    EXPECT_EQ(grid.RowHeight(3), 31);
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(L"c2")), kColumn);
    EXPECT_EQ(grid.HeaderHeight(), kHeader);
    EXPECT_EQ(FontHeight(grid.FontHandle()), controlHeight);
}

}  // namespace
}  // namespace ferryl::test
