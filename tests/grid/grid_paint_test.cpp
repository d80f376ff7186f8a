// The painter read back as pixels: highlight, grid lines, focus rectangle, a cell's own colours,
// icons, clipped text, the area below the rows, and what one change repaints.

#include <stdexcept>

#include "common/unique_handle.h"
#include "grid/grid_picture.h"
#include "paint_fixture.h"

namespace ferryl::test {
namespace {

TEST_F(PaintTest, SelectedCellAndRowShowTheHighlight) {
    Fill(5);
    grid.SelectedRow(2);
    grid.SelectedCol(2);
    Focus(true);
    {
        Snapshot shot(grid.hwnd());
        POINT in = Inside(2, 2);
        EXPECT_EQ(shot.At(in.x, in.y), Sys(COLOR_HIGHLIGHT));
        POINT beside = Inside(2, 1);
        EXPECT_EQ(shot.At(beside.x, beside.y), Sys(COLOR_WINDOW));
        // The highlighted cell's text uses the highlight text colour.
        EXPECT_LE(shot.Nearest(CellRect(2, 2), Sys(COLOR_HIGHLIGHTTEXT)), kInkTolerance);
    }
    // Without the focus the selection is shown in the button face colour and the text keeps its own.
    Focus(false);
    {
        Snapshot shot(grid.hwnd());
        POINT in = Inside(2, 2);
        EXPECT_EQ(shot.At(in.x, in.y), Sys(COLOR_BTNFACE));
        EXPECT_LE(shot.Nearest(CellRect(2, 2), Sys(COLOR_WINDOWTEXT)), kInkTolerance);
    }
    grid.RowMode(true);
    grid.SelectedRow(4);
    Focus(true);
    Snapshot shot(grid.hwnd());
    for (long c = 1; c <= 3; ++c) {
        POINT in = Inside(4, c);
        EXPECT_EQ(shot.At(in.x, in.y), Sys(COLOR_HIGHLIGHT)) << "column " << c;
        POINT old = Inside(2, c);
        EXPECT_EQ(shot.At(old.x, old.y), Sys(COLOR_WINDOW)) << "column " << c;
    }
}

TEST_F(PaintTest, GridLinesLieOnTheColumnEdgesAndTheFocusFrameOnTheCurrentCell) {
    Fill(4);
    grid.GridLineColor(RGB(255, 0, 0));
    grid.GridLines(true);
    Snapshot lines(grid.hwnd());
    int y = Inside(2, 1).y;
    EXPECT_EQ(lines.At(kColumn, y), RGB(255, 0, 0));
    EXPECT_EQ(lines.At(2 * kColumn, y), RGB(255, 0, 0));
    EXPECT_NE(lines.At(kColumn + 40, y), RGB(255, 0, 0));
    EXPECT_EQ(lines.At(40, kHeader + kRow), RGB(255, 0, 0));  // between rows 1 and 2

    grid.GridLines(false);
    grid.SelectedRow(3);
    grid.SelectedCol(2);
    RECT cell = CellRect(3, 2);
    RECT topEdge{cell.left + 2, cell.top, cell.right - 2, cell.top + 1};
    int edge = topEdge.right - topEdge.left;
    Focus(false);
    EXPECT_EQ(Snapshot(grid.hwnd()).Count(topEdge, Sys(COLOR_WINDOW)), edge);
    Focus(true);
    // The dotted frame leaves about every other pixel of the edge changed.
    int plain = Snapshot(grid.hwnd()).Count(topEdge, Sys(COLOR_WINDOW));
    EXPECT_LT(plain, edge * 3 / 4);
    EXPECT_GT(plain, 0);
}

TEST_F(PaintTest, ACellShowsItsOwnColoursAndTheDisabledGridShowsNone) {
    Fill(3);
    grid.CellBackColor(2, 1, RGB(0, 128, 0));
    grid.CellForeColor(2, 1, RGB(255, 0, 255));
    grid.CellText(2, 1, TaggedValue(L"MMMM"));
    Snapshot shot(grid.hwnd());
    POINT in = Inside(2, 1);
    EXPECT_EQ(shot.At(in.x, in.y), RGB(0, 128, 0));
    // The ink is magenta: text in any other colour over the green has no pixel near it.
    EXPECT_LE(shot.Nearest(CellRect(2, 1), RGB(255, 0, 255)), kInkTolerance);

    grid.Enabled(false);
    Snapshot off(grid.hwnd());
    EXPECT_EQ(off.At(in.x, in.y), Sys(COLOR_BTNFACE));
    EXPECT_GT(off.Nearest(CellRect(2, 1), RGB(255, 0, 255)), 128) << "nothing of the cell's own colours";
    EXPECT_LE(off.Nearest(CellRect(2, 1), Sys(COLOR_GRAYTEXT)), kInkTolerance);
}

TEST_F(PaintTest, IconsSitAtTheTextStartExtraIconFirst) {
    HIMAGELIST list = ::ImageList_Create(16, 16, ILC_COLOR32, 2, 0);
    for (COLORREF color : {RGB(0, 0, 255), RGB(255, 128, 0)}) {
        WindowDC screen(nullptr);
        UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
        UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), 16, 16));
        {
            SelectGuard select(memory.get(), bitmap.get());
            UniqueBrush brush(::CreateSolidBrush(color));
            RECT all{0, 0, 16, 16};
            ::FillRect(memory.get(), &all, brush.get());
        }
        ::ImageList_Add(list, bitmap.get(), nullptr);
    }
    Fill(3);
    grid.ImageList(TaggedValue(static_cast<double>(reinterpret_cast<INT_PTR>(list))));
    grid.CellIcon(2, 2, 0);
    grid.CellExtraIcon(2, 2, 1);
    grid.CellText(3, 2, TaggedValue(L""));
    Snapshot shot(grid.hwnd());
    int top = kHeader + kRow + 1;  // text rectangle: the cell shrunk by 1
    int left = kColumn + 1;
    EXPECT_EQ(shot.At(left + 8, top + 8), RGB(255, 128, 0));                  // extra icon
    EXPECT_EQ(shot.At(left + 18 + 8, top + 8), RGB(0, 0, 255));               // icon, 16 + 2 further
    EXPECT_EQ(shot.At(left + 8, kHeader + 2 * kRow + 8), Sys(COLOR_WINDOW));  // row 3 has none
    grid.Clear(true);
    ::ImageList_Destroy(list);
}

TEST_F(PaintTest, LongTextIsCutWithAnEllipsisInsideItsCell) {
    Fill(2);
    std::wstring text = L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
    grid.CellText(1, 3, TaggedValue(L""));
    grid.CellText(1, 2, TaggedValue(L""));
    grid.CellText(1, 1, TaggedValue(text));
    Snapshot shot(grid.hwnd());
    // Nothing spills into the next (empty) cell.
    RECT next = CellRect(1, 2);
    EXPECT_EQ(shot.Count(next, Sys(COLOR_WINDOW)), kColumn * kRow);

    // The cell holds what DrawText gives for the text with an ellipsis, in the cell's text area.
    RECT textRect{1, 1, kColumn - 1, kRow - 1};
    WindowDC screen(grid.hwnd());
    UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), kColumn, kRow));
    SelectGuard selectBitmap(memory.get(), bitmap.get());
    SelectGuard selectFont(memory.get(), grid.FontHandle());
    RECT all{0, 0, kColumn, kRow};
    ::FillRect(memory.get(), &all, ::GetSysColorBrush(COLOR_WINDOW));
    ::SetBkMode(memory.get(), TRANSPARENT);
    ::SetTextColor(memory.get(), Sys(COLOR_WINDOWTEXT));
    ::DrawTextW(memory.get(), text.c_str(), -1, &textRect, MoskGrid::kDefaultTextFormat | MoskGrid::kNoPrefix);
    int differing = 0, inked = 0;
    for (int y = 0; y < kRow; ++y) {
        for (int x = 0; x < kColumn; ++x) {
            COLORREF want = ::GetPixel(memory.get(), x, y);
            inked += want != Sys(COLOR_WINDOW) ? 1 : 0;
            differing += shot.At(x, kHeader + y) != want ? 1 : 0;
        }
    }
    // The last text pixels are the dots: three separate runs near the right end.
    EXPECT_GT(inked, 20);
    EXPECT_EQ(differing, 0);
}

TEST_F(PaintTest, TheAreaBelowTheLastRowIsFilled) {
    Fill(6);
    grid.BackColor(RGB(10, 20, 30));
    grid.CellBackColor(5, 1, RGB(200, 0, 0));
    POINT gone = Inside(5, 1);
    EXPECT_EQ(Snapshot(grid.hwnd()).At(gone.x, gone.y), RGB(200, 0, 0));
    grid.Rows(3);
    Snapshot shot(grid.hwnd());
    EXPECT_EQ(shot.At(gone.x, gone.y), RGB(10, 20, 30));
    EXPECT_EQ(shot.At(shot.Width() - 2, shot.Height() - 2), RGB(10, 20, 30));
    // Right of the last column too.
    EXPECT_EQ(shot.At(3 * kColumn + 20, Inside(1, 1).y), RGB(10, 20, 30));
}

TEST_F(PaintTest, AChangedCellRepaintsOnlyItsRow) {
    Fill(40);
    grid.CellText(3, 2, TaggedValue(L"changed"));
    EXPECT_EQ(grid.PaintedRowCount(), 1);
    grid.CellBackColor(5, 1, RGB(1, 2, 3));
    EXPECT_EQ(grid.PaintedRowCount(), 1);
    // A change to a row out of view paints nothing.
    grid.CellText(39, 1, TaggedValue(L"far"));
    EXPECT_EQ(grid.PaintedRowCount(), 0);
    // A full repaint paints what is visible, not what is stored.
    Repaint();
    long visibleRows = (grid.VisibleDataHeight() + kRow - 1) / kRow;
    EXPECT_EQ(grid.PaintedRowCount(), visibleRows);
}

class ThrowingListener : public MoskGridListener {
  public:
    void RequestRowData(long lRow) override {
        if (lRow == throwAt)
            throw std::runtime_error("owner failed");
    }
    long throwAt = 0;
};

// Wine counts no GDI objects (GetGuiResources answers 0), so what is checked here is that a paint
// an owner's handler breaks off leaves the painter able to paint again.
TEST_F(PaintTest, APaintCutShortByTheOwnerLeavesThePainterWorking) {
    ThrowingListener listener;
    grid.SetListener(&listener);
    grid.AddColumn(L"v", L"", 0, -1, 100);
    // Virtual rows whose owner fails half-way through a paint.
    listener.throwAt = 3;
    grid.Virtual(true);
    EXPECT_THROW(grid.Draw(), std::runtime_error);
    listener.throwAt = 0;
    grid.Draw();
    EXPECT_GT(grid.Rows(), 3);
    EXPECT_GT(grid.PaintedRowCount(), 0);
}

// A picture of size by size pixels: its top half red on the left and blue on the right, its bottom
// half green; and the colour it has at (x, y) when tiled from the origin.
ObjectRef HalvesPicture(int size) {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const int half = size / 2;
    RECT left{0, 0, half, half}, right{half, 0, size, half}, bottom{0, half, size, size};
    for (auto [rect, color] : {std::pair{left, RGB(255, 0, 0)}, {right, RGB(0, 0, 255)}, {bottom, RGB(0, 255, 0)}}) {
        HBRUSH brush = ::CreateSolidBrush(color);
        ::FillRect(memory, &rect, brush);
        ::DeleteObject(brush);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return std::make_shared<GridPicture>(bitmap);
}

COLORREF HalvesColor(int size, int x, int y) {
    if (y % size >= size / 2)
        return RGB(0, 255, 0);
    return x % size < size / 2 ? RGB(255, 0, 0) : RGB(0, 0, 255);
}

TEST_F(PaintTest, TheBackgroundPictureIsTiledBehindRowsAndBelowThem) {
    Fill(3);
    grid.BackgroundPicture(HalvesPicture(8));
    Snapshot shot(grid.hwnd());
    // Tiles line up across rows and the area below them: the picture starts under the header, and
    // (x mod 8, (y - header) mod 8) decides the colour everywhere.
    for (int y : {kHeader + 1, kHeader + kRow + 5, kHeader + 5 * kRow + 5}) {
        EXPECT_EQ(shot.At(3 * kColumn + 17, y), RGB(255, 0, 0)) << y;  // 257 mod 8 = 1
        EXPECT_EQ(shot.At(3 * kColumn + 21, y), RGB(0, 0, 255)) << y;  // 261 mod 8 = 5
        EXPECT_EQ(shot.At(3 * kColumn + 17, y + 4), RGB(0, 255, 0)) << y;
    }
}

TEST_F(PaintTest, TheTileSizeComesFromThePictureShownNow) {
    Fill(3);
    grid.BackgroundPicture(HalvesPicture(16));
    EXPECT_EQ(grid.BackgroundPictureWidth(), 16);
    EXPECT_EQ(grid.BackgroundPictureHeight(), 16);
    // As a host that saved the sizes and reads them back gives them again.
    grid.BackgroundPictureWidth(16);
    grid.BackgroundPictureHeight(16);
    grid.BackgroundPicture(HalvesPicture(8));
    EXPECT_EQ(grid.BackgroundPictureWidth(), 8);
    EXPECT_EQ(grid.BackgroundPictureHeight(), 8);
    auto expectEightPixelTiles = [&](const char* when) {
        Snapshot shot(grid.hwnd());
        int wrong = 0;
        for (int y = kHeader; y < kHeader + 5 * kRow; ++y)
            for (int x = 3 * kColumn; x < 3 * kColumn + 48; ++x)
                wrong += shot.At(x, y) != HalvesColor(8, x, y - kHeader) ? 1 : 0;
        EXPECT_EQ(wrong, 0) << when;
    };
    expectEightPixelTiles("after the new picture");
    // A tile asked larger than the picture keeps to the picture.
    grid.BackgroundPictureWidth(32);
    grid.BackgroundPictureHeight(32);
    expectEightPixelTiles("with sizes larger than the picture");
}

TEST_F(PaintTest, AnObjectOrAnErrorInACellShowsAsEmptyTextAndTheRestStillPaints) {
    Fill(6);
    grid.CellBackColor(5, 1, RGB(200, 0, 0));
    Snapshot before(grid.hwnd());
    EXPECT_NO_THROW(grid.CellText(2, 1, TaggedValue(ObjectRef(std::make_shared<Object>()))));
    EXPECT_TRUE(grid.CellText(2, 1).IsObject()) << "the value is kept";
    EXPECT_NO_THROW(grid.CellText(3, 2, TaggedValue(ErrorValue{static_cast<long>(0x800A000DL)})));
    EXPECT_EQ(grid.CellFormattedText(2, 1), L"");
    EXPECT_EQ(grid.CellFormattedText(3, 2), L"");
    EXPECT_NO_THROW(Repaint());
    Snapshot shot(grid.hwnd());
    POINT below = Inside(5, 1);
    EXPECT_EQ(shot.At(below.x, below.y), RGB(200, 0, 0)) << "the rows below still paint";
    EXPECT_EQ(shot.At(20, kHeader + 6 * kRow + 20), Sys(COLOR_WINDOW)) << "and the area under the last row";
    // Both cells look as a cell with empty text does.
    grid.CellText(2, 1, TaggedValue(L""));
    grid.CellText(3, 2, TaggedValue(L""));
    Snapshot empty(grid.hwnd());
    EXPECT_TRUE(shot.SameAs(empty, CellRect(2, 1)));
    EXPECT_TRUE(shot.SameAs(empty, CellRect(3, 2)));
    EXPECT_FALSE(before.SameAs(empty, CellRect(2, 1))) << "the cell had text to lose";
}

TEST_F(PaintTest, AFormatAskingDrawTextToModifyTheStringPaintsAsOneWithoutIt) {
    grid.AddColumn(L"name", L"Name", 0, -1, kColumn);
    grid.Rows(1);
    const std::wstring text(20, L'W');
    grid.CellText(1, 1, TaggedValue(text));
    grid.KeySearchColumn(1);
    grid.CellSelected(1, 1, true);
    Focus(true);
    // The typed prefix is drawn from the same text after the cell's own text: it shows whether
    // the first drawing changed the text.
    grid.KeySearchText(text);
    grid.CellTextAlign(1, 1, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    Snapshot modifying(grid.hwnd());
    grid.CellTextAlign(1, 1, DT_SINGLELINE | DT_END_ELLIPSIS);
    Snapshot plain(grid.hwnd());
    EXPECT_TRUE(modifying.SameAs(plain, CellRect(1, 1)));
    EXPECT_EQ(grid.CellText(1, 1).ToText(), text);
}

}  // namespace
}  // namespace ferryl::test
