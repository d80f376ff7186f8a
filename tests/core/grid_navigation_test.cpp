// Where one step, a page and the row text take the current cell, over hidden rows and columns and
// group rows.

#include "test_grid.h"

namespace ferryl::test {
namespace {

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

TEST(GridNavigation, TheRowTextColumnIsAStopInCellModeOnlyAndGroupRowsTakeIt) {
    TestModel model = ModelWithRowText();
    ASSERT_EQ(model.RowTextPosition(), 3);
    EXPECT_EQ(StepAcross(model, {1, 2}, 1, false), (GridCursor{1, 3}));
    EXPECT_EQ(StepAcross(model, {1, 2}, 1, true), (GridCursor{1, 4}));
    EXPECT_EQ(model.FirstVisibleColumn(), 1);
    EXPECT_EQ(model.LastVisibleColumn(), 4) << "the row text is not a column of the row";

    // A group row has its row text only: arrows pass it by whole rows.
    model.Row(2).bGroupRow = true;
    EXPECT_EQ(StepAcross(model, {1, 4}, 1, false), (GridCursor{2, 3}));
    EXPECT_EQ(StepAcross(model, {2, 3}, 1, false), (GridCursor{3, 1}));
    EXPECT_EQ(StepAcross(model, {2, 3}, -1, false), (GridCursor{1, 4}));
    EXPECT_EQ(StepDown(model, {1, 2}, 1), (GridCursor{2, 3}));
    EXPECT_EQ(StepDown(model, {2, 3}, 1), (GridCursor{3, 1})) << "off the row text onto the first cell";
    EXPECT_EQ(StepDown(model, {3, 2}, -1), (GridCursor{2, 3}));
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
    EXPECT_EQ(model.FirstVisibleRow(), 1);
    EXPECT_EQ(model.LastVisibleRow(), 4);
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

TEST(GridNavigation, AHiddenLastColumnEndsTheRowAndAGroupRowWithoutRowTextKeepsTheColumns) {
    TestModel model = MakeModel(3, 3);
    HideColumn(model, 3);
    EXPECT_EQ(StepAcross(model, {1, 2}, 1, false), (GridCursor{2, 1}));
    model.Row(3).bGroupRow = true;
    EXPECT_EQ(StepAcross(model, {2, 2}, 1, false), (GridCursor{3, 1}));
    EXPECT_EQ(StepDown(model, {1, 0}, 1), (GridCursor{2, 0})) << "no current column, none found";
}

}  // namespace
}  // namespace ferryl::test
