// Where rows and columns lie, which a pixel and a view hold, where a step or a page takes the current
// cell; and the model's parts: its gap vector, scroll ranges.

#include <memory>
#include <random>
#include <tuple>

#include "core/gap_vector.h"
#include "core/scroll_layout.h"
#include "test_grid.h"

namespace ferryl::test {
namespace {

TEST(GridShape, RowStartsFollowHeightsAndHiddenRows) {
    TestModel model = MakeModel(4, 2);
    EXPECT_EQ(model.RowStartY(3), 40);
    model.SetRowVisible(2, false);
    EXPECT_EQ(model.RowStartY(3), 20);
    EXPECT_EQ(model.RowBottom(2), 20) << "a hidden row takes no room";
    model.SetRowHeight(1, 35);
    model.SetRowVisible(2, true);
    EXPECT_EQ(model.RowStartY(4), 75);
    EXPECT_EQ(model.DataHeight(), 95);
    EXPECT_EQ(model.RowTable()[4].lStartY, 75);
    // An appended row starts below the last one, stale starts or not.
    model.SetRowHeight(4, 10);
    model.AppendRow(NewRow(), TestModel::CellRow(2));
    EXPECT_EQ(model.RowStartY(5), 85);
    // Fresh starts: an appended and an inserted row each start where the rows above end.
    TestModel fresh = MakeModel(2, 1);
    EXPECT_EQ(fresh.RowStartY(2), 20);
    fresh.AppendRow(NewRow(), TestModel::CellRow(1));
    EXPECT_EQ(fresh.RowStartY(3), 40);
    fresh.InsertRow(1, NewRow(35), TestModel::CellRow(1));
    EXPECT_EQ(fresh.RowStartY(2), 35);
    // A new scale: every height and width, and the starts after them.
    model.ScaleSizes([](long size) { return size * 2; });
    EXPECT_EQ(std::pair(model.RowStartY(5), model.DataHeight()), std::pair(170L, 210L));
    EXPECT_EQ(std::pair(model.Column(2).lStartX, model.Column(2).lWidth),
              std::pair(2 * kColumnWidth, 2 * kColumnWidth));
}

TEST(GridShape, APixelBelongsToTheRowAboveItsTopAndTheColumnLeftOfItsLeftEdge) {
    TestModel model = MakeModel(3, 3);
    EXPECT_EQ(model.RowAtY(20), 1) << "the bottom pixel of row 1";
    EXPECT_EQ(model.RowAtY(21), 2);
    EXPECT_EQ(model.RowAtY(0), 0);
    EXPECT_EQ(model.RowAtY(61), 0) << "below the last row";
    model.SetRowVisible(2, false);
    EXPECT_EQ(model.RowAtY(21), 3);
    EXPECT_EQ(model.CellColumnAtX(50, 1), 1);
    EXPECT_EQ(model.CellColumnAtX(51, 1), 2);
    EXPECT_EQ(model.CellColumnAtX(51, 0), 2) << "below the last row the column still counts";
    EXPECT_EQ(model.CellColumnAtX(151, 1), 0);
    HideColumn(model, 2);
    EXPECT_EQ(model.CellColumnAtX(51, 1), 3);
    EXPECT_EQ(model.DataWidth(), 100);
}

TEST(GridShape, TheVisibleRangeHoldsEveryRowAndColumnReachingIntoTheView) {
    TestModel model = MakeModel(100, 6);
    GridVisibleRange range = model.VisibleRange(60, 30, 120, 100);
    // Row 7 starts at 120, inside 30..130.
    EXPECT_EQ(std::tuple(range.lFirstRow, range.lLastRow, range.lFirstCol, range.lLastCol, range.lScrollY),
              std::tuple(2L, 7L, 2L, 4L, 30L));
    EXPECT_EQ(model.VisibleRange(0, 20, 120, 100).lFirstRow, 2) << "row 1 ends just above the view";
    EXPECT_EQ(model.VisibleRange(100, 0, 120, 100).lFirstCol, 3) << "column 2 ends just left of it";
    HideColumn(model, 3);
    range = model.VisibleRange(60, 30, 120, 100);
    EXPECT_EQ(range.lLastCol, 5) << "a hidden column makes room for the next";
    EXPECT_EQ(model.DataWidth(), 5 * kColumnWidth);
    HideColumn(model, 6);
    EXPECT_EQ(model.DataWidth(), 4 * kColumnWidth) << "hidden columns end the data nowhere";
    range = model.VisibleRange(1000, 5000, 120, 100);
    EXPECT_LT(range.lLastRow, range.lFirstRow);
    EXPECT_EQ(range.lFirstCol, 1);
    EXPECT_EQ(range.lLastCol, 0);
}

TEST(GridShape, AViewScrollsEightPixelsPastTheEdgeACellWasBeyond) {
    // A column ending right of a view 100 wide at 0.
    EXPECT_EQ(ColumnScrollTarget(80, 150, 0, 100), 58);
    EXPECT_EQ(ColumnScrollTarget(80, 300, 0, 100), 80) << "wider than the view: its left edge";
    EXPECT_EQ(ColumnScrollTarget(40, 90, 50, 100), 32);
    EXPECT_EQ(ColumnScrollTarget(60, 90, 50, 100), 50) << "in view";
    EXPECT_EQ(ColumnScrollTarget(50, 90, 50, 100), 50) << "starting at the view's left edge";
    EXPECT_EQ(RowScrollTarget(100, 120, 0, 100), 28);
    EXPECT_EQ(RowScrollTarget(60, 100, 0, 100), 8) << "a row ending on the view's edge";
    EXPECT_EQ(RowScrollTarget(100, 300, 50, 100), 50) << "taller than the view and starting inside it";
    EXPECT_EQ(RowScrollTarget(20, 40, 50, 100), 12);
}

// Columns 1, 2, 4 hold cells; column 3 is the row-text column, hidden as the file list has it.
TestModel ModelWithRowText() {
    TestModel model = MakeModel(4, 3);
    tGridColumn rowText;
    rowText.lWidth = kColumnWidth;
    rowText.bVisible = false;
    rowText.bRowTextCol = true;
    model.InsertColumn(3, rowText, TestCell{});
    return model;
}

TEST(GridNavigation, TheRowTextColumnIsAStopInCellModeOnly) {
    TestModel model = ModelWithRowText();
    ASSERT_EQ(model.RowTextPosition(), 3);
    EXPECT_EQ(StepAcross(model, {1, 2}, 1, false), (GridCursor{1, 3}));
    EXPECT_EQ(StepAcross(model, {1, 2}, 1, true), (GridCursor{1, 4}));
    EXPECT_EQ(std::pair(model.FirstVisibleColumn(), model.LastVisibleColumn()), std::pair(1L, 4L))
        << "not the row text";
}

TEST(GridNavigation, StepsPassHiddenRowsAndStopAtTheEnds) {
    TestModel model = MakeModel(5, 2);
    model.SetRowVisible(2, false);
    model.SetRowVisible(5, false);
    EXPECT_EQ(StepDown(model, {1, 2}, 1), (GridCursor{3, 2}));
    EXPECT_EQ(StepDown(model, {3, 1}, -1), (GridCursor{1, 1}));
    EXPECT_EQ(StepDown(model, {1, 1}, -1), std::nullopt);
    EXPECT_EQ(StepDown(model, {5, 1}, 1), std::nullopt);
    EXPECT_EQ(StepAcross(model, {1, 2}, 1, false), (GridCursor{3, 1})) << "wraps over the hidden row";
    EXPECT_EQ(StepAcross(model, {4, 2}, 1, false), std::nullopt) << "the last shown row ends it";
    EXPECT_EQ(std::pair(model.FirstVisibleRow(), model.LastVisibleRow()), std::pair(1L, 4L));
    for (const long row : {1, 3, 4})
        model.SetRowVisible(row, false);
    EXPECT_EQ(StepDown(model, {0, 1}, 1), std::nullopt) << "no current row, and no shown row to go to";
}

TEST(GridNavigation, APageKeepsTheCurrentRowOnTheNewPageAndEndsAtTheShownEnds) {
    TestModel model = MakeModel(20, 1);
    model.SetRowVisible(1, false);
    model.SetRowVisible(20, false);
    // Rows 20 high in a view of 100: five rows make a page.
    EXPECT_EQ(PageDownRow(model, 2, 100), 7);
    EXPECT_EQ(PageUpRow(model, 7, 100), 2);
    EXPECT_EQ(PageUpRow(model, 4, 100), 2) << "past row 1 the first shown row";
    EXPECT_EQ(PageDownRow(model, 17, 100), 19) << "past the last row the last shown row";
    // A row taller than the view is a page of its own.
    model.SetRowHeight(8, 300);
    EXPECT_EQ(PageDownRow(model, 7, 100), 9);
    EXPECT_EQ(PageUpRow(model, 9, 100), 8);
    EXPECT_EQ(PageUpRow(model, 8, 100), 7) << "from the tall row, the row above";
}

TEST(GridNavigation, AHiddenLastColumnEndsTheRow) {
    TestModel model = MakeModel(3, 3);
    HideColumn(model, 3);
    EXPECT_EQ(StepAcross(model, {1, 2}, 1, false), (GridCursor{2, 1}));
    EXPECT_EQ(StepDown(model, {1, 0}, 1), (GridCursor{2, 0})) << "no current column, none found";
}

template <typename T>
std::vector<T> Contents(const GapVector<T>& gap) {
    return std::vector<T>(gap.begin(), gap.end());
}

TEST(GapVector, EditsAnywhereMatchAPlainVector) {
    std::mt19937 random(7);
    GapVector<std::wstring> gap;
    std::vector<std::wstring> plain;
    for (int step = 0; step < 5000; ++step) {
        int action = static_cast<int>(random() % 6);
        std::wstring value = std::to_wstring(step);
        size_t at = plain.empty() ? 0 : random() % (plain.size() + 1);
        if (action <= 1) {
            gap.insert(at, value);
            plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(at), value);
        } else if (action == 2) {
            gap.push_back(value);
            plain.push_back(value);
        } else if (action == 3 && !plain.empty()) {
            at = random() % plain.size();
            gap.erase(at);
            plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(at));
        } else if (action == 4 && !plain.empty()) {
            // Runs of edits at one place, where the gap pays off.
            at = random() % plain.size();
            for (int k = 0; k < 5 && at < plain.size(); ++k) {
                gap.erase(at);
                plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(at));
            }
        } else if (action == 5 && step % 50 == 0) {
            size_t size = random() % (plain.size() + 3);
            gap.resize(size);
            plain.resize(size);
        }
        ASSERT_EQ(gap.size(), plain.size()) << "step " << step;
        if (step % 97 == 0) {
            ASSERT_EQ(Contents(gap), plain) << "step " << step;
        }
    }
    EXPECT_EQ(Contents(gap), plain);
}

TEST(GapVector, SwapsAndLetsAnErasedElementGoAtOnce) {
    GapVector<std::wstring> gap{L"a", L"b"}, other(2, L"q");
    gap.erase(0);
    EXPECT_EQ(gap.back() + gap[0], L"bb");
    other.swap(gap);
    EXPECT_EQ(Contents(gap), (std::vector<std::wstring>{L"q", L"q"}));
    EXPECT_EQ(Contents(other), (std::vector<std::wstring>{L"b"}));
    const auto held = std::make_shared<int>(1);
    GapVector<std::shared_ptr<int>> owners;
    owners.push_back(held);
    owners.push_back(nullptr);
    owners.erase(0);
    EXPECT_EQ(held.use_count(), 1) << "not kept in the gap";
}

TEST(ScrollLayout, OnePixelMoreThanTheRoomShowsABarAndTakesItsThickness) {
    // The bars needed, the room they leave and the highest offsets.
    const auto layout = [](const ScrollLayoutInput& in) {
        const ScrollLayout out = ComputeScrollLayout(in);
        return std::tuple(out.needH, out.needV, out.visibleWidth, out.visibleHeight, out.maxH, out.maxV);
    };
    ScrollLayoutInput in{300, 200, 300, 100, 16, 16};
    EXPECT_EQ(layout(in), std::tuple(false, false, 300L, 200L, 0L, 0L));
    in.totalWidth = 301;
    EXPECT_EQ(layout(in), std::tuple(true, false, 300L, 184L, 1L, 0L));
    EXPECT_EQ(ComputeScrollLayout(in).largeH, 1);
    in.totalHeight = 184;
    EXPECT_FALSE(ComputeScrollLayout(in).needV) << "the rows just fit above the horizontal bar";
    // The horizontal bar's thickness makes the rows, which just fitted, need the vertical one too.
    in.totalHeight = 190;
    EXPECT_EQ(layout(in), std::tuple(true, true, 284L, 184L, 301L - 284, 190L - 184));
    EXPECT_EQ(PageStep(1000, 300), 233);  // 700 / (700 / 300 + 1)
    EXPECT_EQ(PageStep(300, 300), 0);
    EXPECT_EQ(PageStep(300, 0), 0) << "no room, no page";
}

}  // namespace
}  // namespace ferryl::test
