// The grid moved to a monitor of another scale: its pixel sizes and fonts follow the DPI, its twips
// are the twips of that DPI, and going back gives everything back.

#include "common/twips.h"
#include "grid/header_control.h"
#include "paint_fixture.h"

namespace ferryl::test {
namespace {

LONG FontHeight(HFONT font) {
    LOGFONTW lf{};
    ::GetObjectW(font, sizeof lf, &lf);
    return lf.lfHeight;
}

TEST_F(PaintTest, SizesFontsAndTwipsFollowTheDpiAndComeBack) {
    Fill(3);
    grid.CellFont(2, 1, GridFont(L"Arial", 12, true));
    grid.RowHeight(3, 31);
    const auto cellFont = [&](long row) {
        return FontHeight(grid.FontList().HandleAt(grid.CellTable()[static_cast<size_t>(row)][0].lFntIndex));
    };
    const int from = grid.Dpi(), to = from * 3 / 2;
    ASSERT_EQ(from, WindowDpi(grid.hwnd()));
    const LONG controlHeight = FontHeight(grid.FontHandle()), cellHeight = cellFont(2);
    grid.Dpi(to);
    EXPECT_EQ(grid.RowHeight(1), kRow * 3 / 2);
    EXPECT_EQ(grid.RowHeight(3), ::MulDiv(31, to, from)) << "rounded half up";
    EXPECT_EQ(grid.DefaultRowHeight(), kRow * 3 / 2);
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(L"c2")), kColumn * 3 / 2);
    EXPECT_EQ(grid.HeaderObject()->Height(), kHeader * 3 / 2);
    EXPECT_EQ(grid.HeaderObject()->ColumnWidth(1), kColumn * 3 / 2) << "the header items follow";
    EXPECT_GE(grid.RowBufferHeight(), grid.RowHeight(3));
    EXPECT_NEAR(FontHeight(grid.FontHandle()), controlHeight * 1.5, 1);
    EXPECT_NEAR(cellFont(2), cellHeight * 1.5, 1);
    EXPECT_NEAR(FontHeight(reinterpret_cast<HFONT>(::SendMessageW(grid.HeaderHwnd(), WM_GETFONT, 0, 0))),
                controlHeight * 1.5, 1);
    // Rows and columns sit where the new sizes put them, in the twips of the new DPI.
    long row = 0, col = 0, left, top, width, height;
    grid.CellFromPoint(kColumn * 3 / 2 + 3, grid.HeaderHeight() + grid.RowHeight(1) + 3, row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(2L, 2L));
    grid.CellBoundary(2, 2, left, top, width, height);
    EXPECT_EQ(left, kColumn * 3 / 2 * TwipsPerPixel(to));
    EXPECT_EQ(height, kRow * 3 / 2 * TwipsPerPixel(to));
    grid.CellFont(1, 1, GridFont(L"Arial", 12, false, true));
    EXPECT_NEAR(cellFont(1), cellHeight * 1.5, 1) << "a font added now is made at the new DPI";

    grid.Dpi(from);
    EXPECT_EQ(grid.RowHeight(3), 31);
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(L"c2")), kColumn);
    EXPECT_EQ(grid.HeaderHeight(), kHeader);
    EXPECT_EQ(FontHeight(grid.FontHandle()), controlHeight);
    EXPECT_EQ(cellFont(2), cellHeight);
}

}  // namespace
}  // namespace ferryl::test
