// The grid moved to a monitor of another scale: its pixel sizes and fonts follow the DPI, its twips
// are the twips of that DPI, and going back gives everything back.

#include <vector>

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

class GridDpiTest : public PaintTest {
  protected:
    HFONT CellFontHandle(long row, long col) {
        return grid.FontList().HandleAt(
            grid.CellTable()[static_cast<size_t>(row)][static_cast<size_t>(col - 1)].lFntIndex);
    }
};

TEST_F(GridDpiTest, SizesFontsAndTwipsFollowTheDpiAndComeBack) {
    Fill(3);
    grid.CellFont(2, 1, GridFont(L"Arial", 12, true));
    grid.RowHeight(3, 31);
    const int from = grid.Dpi();
    ASSERT_EQ(from, WindowDpi(grid.hwnd()));
    const int to = from * 3 / 2;
    const LONG controlFont = FontHeight(grid.FontHandle());
    const LONG cellFont = FontHeight(CellFontHandle(2, 1));

    grid.Dpi(to);
    EXPECT_EQ(grid.Dpi(), to);
    EXPECT_EQ(grid.RowHeight(1), kRow * 3 / 2);
    EXPECT_EQ(grid.RowHeight(3), ::MulDiv(31, to, from));  // rounded half up
    EXPECT_EQ(grid.DefaultRowHeight(), kRow * 3 / 2);
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(std::wstring(L"c2"))), kColumn * 3 / 2);
    EXPECT_EQ(grid.HeaderHeight(), kHeader * 3 / 2);
    EXPECT_EQ(grid.HeaderObject()->Height(), kHeader * 3 / 2);
    EXPECT_EQ(grid.HeaderObject()->ColumnWidth(1), kColumn * 3 / 2) << "the header items follow";
    EXPECT_GE(grid.RowBufferHeight(), grid.RowHeight(3));
    EXPECT_NEAR(FontHeight(grid.FontHandle()), controlFont * 1.5, 1);
    EXPECT_NEAR(FontHeight(CellFontHandle(2, 1)), cellFont * 1.5, 1);
    EXPECT_NEAR(FontHeight(reinterpret_cast<HFONT>(::SendMessageW(grid.HeaderHwnd(), WM_GETFONT, 0, 0))),
                controlFont * 1.5, 1);

    // Rows and columns sit where the new sizes put them.
    long row = 0, col = 0;
    grid.CellFromPoint(kColumn * 3 / 2 + 3, grid.HeaderHeight() + grid.RowHeight(1) + 3, row, col);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(col, 2);
    // Twips are those of the new DPI.
    long left, top, width, height;
    grid.CellBoundary(2, 2, left, top, width, height);
    EXPECT_EQ(left, kColumn * 3 / 2 * TwipsPerPixel(to));
    EXPECT_EQ(height, kRow * 3 / 2 * TwipsPerPixel(to));
    // A font added now is made at the new DPI too.
    grid.CellFont(1, 1, GridFont(L"Arial", 12, false, true));
    EXPECT_NEAR(FontHeight(CellFontHandle(1, 1)), cellFont * 1.5, 1);

    grid.Dpi(from);
    EXPECT_EQ(grid.RowHeight(1), kRow);
    EXPECT_EQ(grid.RowHeight(3), 31);
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(std::wstring(L"c2"))), kColumn);
    EXPECT_EQ(grid.HeaderHeight(), kHeader);
    EXPECT_EQ(FontHeight(grid.FontHandle()), controlFont);
    EXPECT_EQ(FontHeight(CellFontHandle(2, 1)), cellFont);
}

}  // namespace
}  // namespace ferryl::test
