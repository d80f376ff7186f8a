// The header: its items follow hidden and reordered columns, and width tracking with the mouse on
// the real header window reaches the grid, which can refuse it.

#include "grid/api_and_callbacks.h"
#include "grid/flat_header.h"
#include "grid/header_control.h"
#include "paint_fixture.h"
#include "winsvc/subclass.h"

namespace ferryl::test {
namespace {

class HeaderTest : public PaintTest {
  protected:
    void SetUp() override {
        PaintTest::SetUp();
        Fill(3);
    }
    std::wstring ItemTexts() {
        std::wstring texts;
        cHeaderControl& header = *grid.HeaderObject();
        for (long i = 0; i < header.ColumnCount(); ++i)
            texts += (i ? L"," : L"") + header.ColumnHeader(i);
        return texts;
    }
    // Drags the divider right of header item 0 (at x = from) by dx pixels with real mouse messages.
    void DragDivider(int dx, int from = kColumn) {
        HWND header = grid.HeaderHwnd();
        LPARAM at = MAKELPARAM(from, 8);
        ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from + dx / 2, 8));
        ::SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from + dx, 8));
        ::SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(from + dx, 8));
        PumpMessages();
    }
    // An HDN_ENDDRAG as the header sends it when item `item` is dropped at `order`.
    void DropItem(long item, long order) {
        HDITEMW pitem{};
        pitem.mask = HDI_ORDER;
        pitem.iOrder = static_cast<int>(order);
        NMHEADERW nm{{grid.HeaderHwnd(), 0, static_cast<UINT>(HDN_ENDDRAG)}, static_cast<int>(item), 0, &pitem};
        ::SendMessageW(grid.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    }
};

TEST_F(HeaderTest, ItemsFollowHiddenAndReorderedColumns) {
    EXPECT_EQ(ItemTexts(), L"Head 1,Head 2,Head 3");
    grid.ColumnVisible(TaggedValue(L"c2"), false);
    EXPECT_EQ(ItemTexts(), L"Head 1,Head 3");
    EXPECT_EQ(grid.ColumnTable()[3].lHeaderColIndex, 2);
    EXPECT_EQ(grid.ColumnTable()[2].lHeaderColIndex, 0);
    grid.ColumnHeader(TaggedValue(L"c3"), L"Third");
    EXPECT_EQ(ItemTexts(), L"Head 1,Third");

    // Dropping "Head 1" after "Third": the hidden column is stepped over and c1 lands last.
    DropItem(0, 1);
    EXPECT_EQ(listener.orderChanges, 1);
    EXPECT_EQ(grid.ColumnKey(grid.ColumnTable()[3].lCellColIndex), L"c1");
    EXPECT_EQ(grid.ColumnTable()[3].lStartX, kColumn);  // c2 hidden, c3 first, then c1
    // Dropping it on its own place only reports the order change.
    DropItem(0, 1);
    EXPECT_EQ(listener.orderChanges, 2);
    EXPECT_EQ(grid.ColumnKey(grid.ColumnTable()[3].lCellColIndex), L"c1");

    grid.ColumnVisible(TaggedValue(L"c2"), true);
    EXPECT_EQ(ItemTexts(), L"Head 2,Third,Head 1");
}

TEST_F(HeaderTest, OnlyTheLastRowTextColumnLeavesTheHeader) {
    // Two columns added with the row-text flag: the later one is the row text, the earlier one an
    // ordinary column with a header item of its own.
    grid.AddColumn(L"first", L"Flagged", 0, -1, kColumn, true, false, TaggedValue::Missing(), true, L"", true);
    grid.AddColumn(L"body", L"Body", 0, -1, kColumn, true, false, TaggedValue::Missing(), true, L"", true);
    EXPECT_EQ(ItemTexts(), L"Head 1,Head 2,Head 3,Flagged");
    EXPECT_EQ(grid.RowTextColumn(), 5);

    // Moving a column over the row-text column keeps the row text on the same column.
    DropItem(3, 0);
    EXPECT_EQ(grid.ColumnKey(grid.ColumnTable()[1].lCellColIndex), L"first");
    EXPECT_EQ(grid.RowTextColumn(), 5);
    EXPECT_EQ(grid.ColumnKey(grid.ColumnTable()[5].lCellColIndex), L"body");
}

TEST_F(HeaderTest, WidthTrackingReachesTheGridWhichCanRefuseItsStartAStepOrTheDrop) {
    listener.refuseStart = true;
    DragDivider(40);
    EXPECT_EQ(listener.widthStarts, (std::vector<long>{1}));
    EXPECT_TRUE(listener.widthsChanged.empty());
    listener.refuseStart = false;
    listener.refuseBelow = 1000;  // every step refused
    DragDivider(40);
    EXPECT_FALSE(listener.widthSteps.empty());
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(1L)), kColumn);
    EXPECT_EQ(grid.HeaderObject()->ColumnWidth(0), kColumn) << "the header gives the width back too";
    // The step to +20 is refused, the one to +40 accepted: the drop at +40 takes.
    listener.refuseBelow = kColumn + 30;
    listener.widthSteps.clear();
    DragDivider(40);
    EXPECT_EQ(listener.widthSteps, (std::vector<long>{kColumn + 20, kColumn + 40}));
    EXPECT_EQ(listener.widthsChanged, (std::vector<std::pair<long, long>>{{1, kColumn + 40}}));
    EXPECT_EQ(grid.ColumnTable()[2].lStartX, kColumn + 40);
    EXPECT_EQ(grid.HeaderObject()->ColumnWidth(0), kColumn + 40);
    // The owner cancels the drop itself: the header item returns to the column's width.
    listener.refuseBelow = 0;
    listener.cancelWidthChanged = true;
    DragDivider(-30, kColumn + 40);
    EXPECT_EQ(listener.widthsChanged.back().second, kColumn + 10);
    EXPECT_EQ(grid.ColumnWidth(TaggedValue(1L)), kColumn + 40);
    EXPECT_EQ(grid.HeaderObject()->ColumnWidth(0), kColumn + 40);
}

// A header that lets the mouse go before it reports the drop, within the same button release.
struct ReleaseBeforeDrop : ISubclass {
    long MsgResponse() override { return ResponseCallAfter; }
    void MsgResponse(long) override {}
    LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override {
        ::ReleaseCapture();
        return 0;
    }
};

TEST_F(HeaderTest, ADividerDragThatLostTheMouseTakesNoLaterStepNorItsDrop) {
    HWND header = grid.HeaderHwnd();
    for (int loss = 0; loss < 3; ++loss) {
        SCOPED_TRACE(loss);
        listener.widthSteps.clear();
        ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kColumn, 8));
        ::SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kColumn + 30, 8));
        ASSERT_TRUE(DragRectShown()) << "the drag line is on the screen";
        if (loss == 0)
            ::SetCapture(host.Hwnd());  // another window takes the mouse
        else if (loss == 1)
            ::ReleaseCapture();  // someone else lets it go (WM_CANCELMODE): no drop comes with it
        else
            ::SendMessageW(grid.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
        PumpMessages();
        ::ReleaseCapture();
        EXPECT_FALSE(DragRectShown());
        // Wine's header goes on tracking without the mouse: its later step and drop are refused.
        ::SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kColumn + 50, 8));
        ::SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(kColumn + 50, 8));
        EXPECT_EQ(listener.widthSteps, (std::vector<long>{kColumn + 30}));
        EXPECT_EQ(grid.HeaderObject()->ColumnWidth(0), kColumn) << "the header item took the drop";
        PumpMessages();
        EXPECT_TRUE(listener.widthsChanged.empty());
        EXPECT_EQ(grid.ColumnWidth(TaggedValue(1L)), kColumn);
    }
    // The next drag is taken, even from a header that lets the mouse go just before its drop.
    ReleaseBeforeDrop early;
    AttachMessage(&early, header, WM_LBUTTONUP);
    DragDivider(40);
    DetachMessage(&early, header, WM_LBUTTONUP);
    EXPECT_EQ(listener.widthsChanged, (std::vector<std::pair<long, long>>{{1, kColumn + 40}}));
    EXPECT_EQ(grid.HeaderObject()->ColumnWidth(0), kColumn + 40);
}

TEST_F(HeaderTest, DisablingKeepsButtonsForEnablingAndTheFlatPainterNeedsAHeader) {
    cHeaderControl& header = *grid.HeaderObject();
    header.Enabled(false);
    EXPECT_EQ(::GetWindowLongPtrW(grid.HeaderHwnd(), GWL_STYLE) & HDS_BUTTONS, 0);
    header.Enabled(true);
    EXPECT_NE(::GetWindowLongPtrW(grid.HeaderHwnd(), GWL_STYLE) & HDS_BUTTONS, 0);
    cFlatHeader flat;
    EXPECT_EQ(GridErrorNumber([&] { flat.Attach(host.Hwnd()); }), kErrNoHeaderControl);
    flat.Attach(grid.hwnd());
    EXPECT_EQ(flat.Attached(), grid.HeaderHwnd());
}

}  // namespace
}  // namespace ferryl::test
