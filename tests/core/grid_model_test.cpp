// The current cell and the selection as keys, clicks and shape changes move them: cell and row
// mode, with and without MultiSelect.

#include <functional>
#include <tuple>

#include "test_grid.h"

namespace ferryl::test {
namespace {

TEST(GridModelKeys, TabAndArrowsWrapAcrossRowsOverHiddenColumnsAndStopAtTheEnds) {
    TestModel model = MakeModel(3, 3);
    HideColumn(model, 2);
    ModelInput input(model);
    EXPECT_EQ(input.Click(1, 1), GridAction::Navigated);
    EXPECT_EQ(input.Key(GridKey::Tab), GridAction::Navigated);
    EXPECT_EQ(input.Current(), (GridCursor{1, 3})) << "the hidden column is stepped over";
    EXPECT_EQ(input.KeyTo(GridKey::Tab), (GridCursor{2, 1}));
    EXPECT_EQ(input.KeyTo(GridKey::Tab, kShiftMask), (GridCursor{1, 3}));
    input.Key(GridKey::Left);
    EXPECT_EQ(input.KeyTo(GridKey::Left), (GridCursor{1, 1}));
    // Without MultiSelect the selection follows a click and every step.
    EXPECT_EQ(input.ClickSelects(2, 1), (Cells{{2, 1}}));
    EXPECT_EQ(input.KeySelects(GridKey::Up), (Cells{{1, 1}}));
    EXPECT_EQ(input.Key(GridKey::Up), GridAction::None);
    EXPECT_EQ(input.Key(GridKey::Left), GridAction::None);
    EXPECT_EQ(input.Current(), (GridCursor{1, 1}));

    EXPECT_EQ(input.Key(GridKey::End), GridAction::Navigated);
    EXPECT_EQ(input.Key(GridKey::Down), GridAction::None);
    EXPECT_EQ(input.Current(), (GridCursor{3, 1}));
    EXPECT_EQ(SelectedCells(model), (Cells{{3, 1}}));
    input.Click(2, 3);
    EXPECT_EQ(input.Key(GridKey::Right, 0), GridAction::Navigated);
    EXPECT_EQ(input.Current(), (GridCursor{3, 1})) << "on into the last row";
    input.Key(GridKey::End);
    EXPECT_EQ(input.Key(GridKey::Right, 0), GridAction::Navigated);
    EXPECT_EQ(input.Key(GridKey::Right, 0), GridAction::None) << "nothing after the last cell";
    // The cell current at the last paint, clicked again, asks for an edit.
    EXPECT_EQ(input.Click(2, 2), GridAction::Navigated);
    EXPECT_EQ(input.Click(2, 2), GridAction::Edit);
    EXPECT_EQ(input.Click(0, 2), GridAction::None) << "outside any row";
    // Which keys take the typed prefix away before they act.
    EXPECT_TRUE(model.KeyClearsSearch(GridKey::Down, 0) && model.KeyClearsSearch(GridKey::Escape, 0));
    EXPECT_FALSE(model.KeyClearsSearch(GridKey::Enter, 0));
    EXPECT_FALSE(model.KeyClearsSearch(GridKey::Space, kCtrlMask)) << "not without MultiSelect";
}

TEST(GridModelKeys, RowModeArrowsAskToScrollAndPagesSelectWholeRows) {
    TestModel model = MakeModel(60, 8);
    model.SetRowMode(true);
    ModelInput input(model);
    input.Click(1, 1);
    EXPECT_EQ(input.Key(GridKey::Right), GridAction::ScrollRight);
    EXPECT_EQ(input.Key(GridKey::Left), GridAction::ScrollLeft);
    EXPECT_EQ(input.Current(), (GridCursor{1, 1}));
    // A view of 200 pixels: ten rows of 20; the page ends with the first row starting below it.
    EXPECT_EQ(input.Key(GridKey::PageDown, 0, {200}), GridAction::Navigated);
    EXPECT_EQ(input.Current(), (GridCursor{11, 1}));
    EXPECT_EQ(SelectedCells(model).size(), 8u);
    EXPECT_TRUE(model.CellAt(11, 8).bSelected);
    EXPECT_EQ(input.KeyTo(GridKey::PageUp, 0, {200}), (GridCursor{1, 1}));
    EXPECT_EQ(input.KeyTo(GridKey::End).row, 60);
    EXPECT_EQ(model.RowsWithSelection(), (std::vector<long>{60}));
    EXPECT_EQ(input.KeyTo(GridKey::Home).row, 1);
    EXPECT_TRUE(model.CellAt(1, 8).bSelected);
}

TEST(GridModelKeys, WithMultiSelectShiftSpansFromTheAnchorCtrlOnlyMovesAndPlainKeysSelectOnlyTheNewCell) {
    TestModel model = MakeModel(30, 2);
    model.SetMultiSelect(true);
    ModelInput input(model);
    input.Click(1, 1);
    input.Key(GridKey::Down, kShiftMask);
    EXPECT_EQ(input.KeySelects(GridKey::Down, kShiftMask), (Cells{{1, 1}, {2, 1}, {3, 1}}));
    // Back up, the span shrinks: no hole where the current row was.
    EXPECT_EQ(input.KeySelects(GridKey::Up, kShiftMask), (Cells{{1, 1}, {2, 1}}));
    EXPECT_EQ(input.KeySelects(GridKey::Down, kCtrlMask), (Cells{{1, 1}, {2, 1}}));
    EXPECT_EQ(input.Current(), (GridCursor{3, 1}));
    // Shift+Page Down spans from the same anchor, in the current column.
    EXPECT_EQ(input.KeyTo(GridKey::PageDown, kShiftMask, {100}).row, 8);
    EXPECT_EQ(SelectedCells(model), (Cells{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}}));
    // Ctrl only moves, and so does any other modifier for Page Down.
    for (const auto& [key, modifier, row] :
         {std::tuple{GridKey::PageDown, kCtrlMask, 13L}, std::tuple{GridKey::PageUp, kCtrlMask, 8L},
          std::tuple{GridKey::PageDown, kAltMask, 13L}}) {
        input.Key(key, modifier, {100});
        EXPECT_EQ(input.Current().row, row);
        EXPECT_EQ(SelectedCells(model).size(), 8u);
    }
    EXPECT_EQ(input.KeySelects(GridKey::PageUp, 0, {100}), (Cells{{8, 1}}));
    EXPECT_EQ(input.KeySelects(GridKey::PageDown, 0, {100}), (Cells{{13, 1}}));
    input.Key(GridKey::PageUp, 0, {100});
    EXPECT_EQ(input.KeySelects(GridKey::Right), (Cells{{8, 2}}));
    // A plain key made (8, 2) the anchor.
    EXPECT_EQ(input.KeySelects(GridKey::Up, kShiftMask), (Cells{{7, 2}, {8, 2}}));
    // Ctrl+Space toggles the current cell and asks for an edit; without Ctrl it does nothing.
    EXPECT_EQ(input.Key(GridKey::Space, kCtrlMask), GridAction::Toggled);
    EXPECT_EQ(SelectedCells(model), (Cells{{8, 2}}));
    EXPECT_EQ(input.Key(GridKey::Space), GridAction::None);
    // End without Shift selects only the last row's cell.
    EXPECT_EQ(input.KeySelects(GridKey::End), (Cells{{30, 2}}));
}

TEST(GridModelSelection, ShiftClickSpansFromTheAnchorCtrlClickTogglesAndShiftEndSpansToTheEnd) {
    TestModel model = MakeModel(6, 3);
    model.SetMultiSelect(true);
    ModelInput input(model);
    input.Click(2, 1);
    EXPECT_EQ(input.Click(4, 2, kShiftMask), GridAction::Navigated);
    EXPECT_EQ(input.Current(), (GridCursor{4, 2})) << "the clicked cell becomes current";
    EXPECT_EQ(SelectedCells(model), (Cells{{2, 1}, {2, 2}, {3, 1}, {3, 2}, {4, 1}, {4, 2}}));
    EXPECT_EQ(input.ClickSelects(3, 1, kShiftMask), (Cells{{2, 1}, {3, 1}})) << "from the same anchor";
    EXPECT_EQ(input.Click(3, 1, kShiftMask), GridAction::Edit) << "Shift+click on the current cell";
    EXPECT_EQ(input.ClickSelects(6, 3, kCtrlMask), (Cells{{2, 1}, {3, 1}, {6, 3}}));

    // Row mode widens every row that holds a selected cell.
    model.SetRowMode(true);
    EXPECT_EQ(SelectedCells(model).size(), 9u);
    EXPECT_EQ(input.ClickSelects(2, 1), (Cells{{2, 1}, {2, 2}, {2, 3}}));
    EXPECT_EQ(input.KeyTo(GridKey::End, kShiftMask).row, 6);
    for (long r = 1; r <= 6; ++r)
        EXPECT_EQ(model.CellAt(r, 3).bSelected, r >= 2) << r;
    EXPECT_EQ(model.RowsWithSelection(), (std::vector<long>{2, 3, 4, 5, 6}));
    input.Key(GridKey::Space, kCtrlMask);
    EXPECT_FALSE(model.CellAt(6, 1).bSelected);

    // A plain click in cell mode toggles the clicked cell and clears every other one.
    model.SetRowMode(false);
    EXPECT_EQ(input.ClickSelects(3, 3), (Cells{}));
    EXPECT_EQ(input.ClickSelects(4, 3), (Cells{{4, 3}}));
    // A row removed below the anchor leaves it in place (a file removed from the list, say).
    input.Key(GridKey::Up, kCtrlMask);
    model.RemoveRow(6);
    EXPECT_EQ(input.ClickSelects(5, 3, kShiftMask), (Cells{{4, 3}, {5, 3}}));
}

TEST(GridModelSelection, ARightPressKeepsTheSelectionItLandsOnAndNeverEdits) {
    TestModel model = MakeModel(6, 3);
    model.SetRowMode(true);
    model.SetMultiSelect(true);
    ModelInput input(model);
    input.Click(2, 1);
    input.Click(4, 1, kShiftMask);
    EXPECT_EQ(model.ContextClick({3, 2}), GridAction::Navigated);
    EXPECT_EQ(input.Current(), (GridCursor{3, 2}));
    EXPECT_EQ(model.RowsWithSelection(), (std::vector<long>{2, 3, 4}));
    model.ContextClick({6, 1});
    EXPECT_EQ(model.RowsWithSelection(), (std::vector<long>{6}));
    // The next Shift spans from where the right press landed.
    input.Key(GridKey::Up, kShiftMask);
    EXPECT_EQ(model.RowsWithSelection(), (std::vector<long>{5, 6}));

    model.SetMultiSelect(false);
    model.RememberPaintedCurrent();
    EXPECT_EQ(model.ContextClick(model.Current()), GridAction::Navigated) << "no edit";
    EXPECT_EQ(model.ContextClick({0, 1}), GridAction::None);

    // A row made current with no current cell takes its first shown column.
    model.SetMultiSelect(true);
    model.ClearSelection();
    HideColumn(model, 1);
    model.SelectRow(3);
    EXPECT_EQ(input.Current(), (GridCursor{3, 2}));
    EXPECT_EQ(model.RowsWithSelection(), (std::vector<long>{3}));
}

TEST(GridModelSelection, ARangeThatGrowsOrShrinksMarksOnlyTheCellsThatChangeForPainting) {
    TestModel model = MakeModel(6, 2);
    model.SetMultiSelect(true);
    ModelInput input(model);
    input.Click(2, 1);
    input.Click(4, 2, kShiftMask);
    auto changed = [&](long row, long column) {
        for (long r = 1; r <= model.Rows(); ++r)
            for (long c = 1; c <= model.Columns(); ++c)
                model.CellAt(r, c).bDirty = false;
        input.Click(row, column, kShiftMask);
        return CellsWith(model, &TestCell::bDirty);
    };
    EXPECT_EQ(changed(5, 2), (Cells{{5, 1}, {5, 2}}));
    EXPECT_EQ(changed(3, 2), (Cells{{4, 1}, {4, 2}, {5, 1}, {5, 2}}));
    EXPECT_EQ(SelectedCells(model), (Cells{{2, 1}, {2, 2}, {3, 1}, {3, 2}}));
}

TEST(GridModelSelection, ANewSelectionClearsCellsWhereverTheirRowsMoved) {
    TestModel model = MakeModel(6, 3);
    model.SetMultiSelect(true);
    ModelInput input(model);
    input.Click(2, 1);
    input.Click(5, 3, kCtrlMask);
    // The selected cells travel with their rows: an insert above them, then a removal above them.
    model.InsertRow(1, NewRow(), TestModel::CellRow(3));
    model.RemoveRow(2);
    ASSERT_EQ(SelectedCells(model), (Cells{{2, 1}, {5, 3}}));
    EXPECT_EQ(input.ClickSelects(6, 2), (Cells{{6, 2}}));
}

TEST(GridModelShape, TheCurrentCellFollowsItsCellsThroughInsertsRemovalsAndCuts) {
    TestModel model = MakeModel(5, 3);
    EXPECT_FALSE(model.CurrentRowExists()) << "none yet";
    model.SelectCell(3, 2, true);
    EXPECT_TRUE(model.CurrentRowExists());
    model.SetKeySearchColumn(3);
    model.InsertRow(2, NewRow(), TestModel::CellRow(3));
    EXPECT_EQ(model.Current(), (GridCursor{4, 2}));
    model.InsertRow(4, NewRow(), TestModel::CellRow(3));
    EXPECT_EQ(model.Current(), (GridCursor{5, 2})) << "a row inserted at the current one pushes it down";
    model.RemoveRow(4);
    EXPECT_EQ(SelectedCells(model), (Cells{{4, 2}}));
    // The current row removed: the row in its place takes the single selection.
    model.RemoveRow(4);
    EXPECT_EQ(model.Current(), (GridCursor{4, 2}));
    EXPECT_EQ(SelectedCells(model), (Cells{{4, 2}}));
    // Cut off: the new last row does.
    model.CutRowsAfter(2);
    EXPECT_EQ(model.Current(), (GridCursor{2, 2}));
    EXPECT_EQ(SelectedCells(model), (Cells{{2, 2}}));

    tGridColumn column;
    column.lWidth = kColumnWidth;
    model.InsertColumn(1, column, TestCell{});
    EXPECT_EQ(model.Current(), (GridCursor{2, 3}));
    EXPECT_EQ(model.KeySearchColumn(), 4);
    EXPECT_EQ(model.Column(2).lStartX, kColumnWidth);
    model.RemoveColumn(4);
    EXPECT_EQ(model.KeySearchColumn(), 0) << "its column went";
    EXPECT_EQ(model.Current(), (GridCursor{2, 3}));
    model.RemoveColumn(1);
    EXPECT_EQ(model.Current(), (GridCursor{2, 2}));
    model.RemoveColumn(1);
    model.RemoveColumn(1);
    EXPECT_EQ(std::pair(model.Rows(), model.Columns()), std::pair(0L, 0L)) << "the last column takes the rows";
    EXPECT_EQ(model.Current(), (GridCursor{0, 0}));
    model.SetCurrentRow(1);
    EXPECT_FALSE(model.CurrentRowExists()) << "past the last row";
    // With MultiSelect a current row cut off moves to the new last row without the selection; with
    // one column, the last row left takes the single selection.
    TestModel multi = MakeModel(5, 2), single = MakeModel(2, 1);
    multi.SetMultiSelect(true);
    multi.SelectCell(5, 2, true);
    multi.CutRowsAfter(3);
    EXPECT_EQ(multi.Current(), (GridCursor{3, 2}));
    EXPECT_TRUE(SelectedCells(multi).empty());
    multi.RemoveRow(3);
    EXPECT_EQ(multi.Current(), (GridCursor{2, 2}));
    single.SelectCell(2, 1, true);
    single.RemoveRow(2);
    EXPECT_EQ(SelectedCells(single), (Cells{{1, 1}}));
}

TEST(GridModelShape, ColumnsInsertedAndRemovedRenumberTheCellColumnsAndTheCurrentOnes) {
    TestModel model = MakeModel(2, 3);
    model.SetMultiSelect(true);
    ModelInput input(model);
    input.Click(1, 2);
    input.Key(GridKey::Down, kShiftMask);
    tGridColumn column;
    column.lWidth = kColumnWidth;
    model.InsertColumn(2, column, TestCell{});
    EXPECT_EQ(std::pair(model.Current().column, model.PaintedCurrent().column), std::pair(3L, 3L));
    // The anchor went with the column's old number.
    EXPECT_EQ(input.KeySelects(GridKey::Up, kShiftMask), (Cells{{1, 3}, {2, 3}}));
    model.SetMultiSelect(false);
    model.RemoveColumn(3);
    EXPECT_EQ(model.Current().column, 3) << "the current column went: the one after it takes its place";
    model.RemoveColumn(1);
    ASSERT_EQ(model.Columns(), 2);
    for (long p = 1; p <= model.Columns(); ++p)
        EXPECT_EQ(model.CellColumnAt(p), p);
}

TEST(GridModelSwitches, WithoutACurrentRowNothingIsSelectedAndACurrentCellOutsideComesIn) {
    TestModel model = MakeModel(3, 2);
    model.SelectColumn(2);  // a current column, no current row
    model.SetMultiSelect(false);
    model.SetRowMode(true);
    model.SetRowMode(false);
    model.SetCurrentRow(2);
    model.SetCurrent({2, 0});
    model.RemoveRow(2);
    EXPECT_TRUE(SelectedCells(model).empty());
    model.SetCurrent({9, 2});
    model.SetRowMode(false);
    EXPECT_EQ(model.Current(), (GridCursor{2, 2}));
    EXPECT_EQ(SelectedCells(model), (Cells{{2, 2}}));
}

TEST(GridModelSwitches, SingleSelectionKeepsOnlyTheCurrentCellOrRowAndEveryNewCurrentCellIsTheAnchor) {
    TestModel model = MakeModel(4, 3);
    model.SetMultiSelect(true);
    model.SelectCell(1, 1, true);
    model.SelectCell(3, 2, true);
    model.SetMultiSelect(false);
    EXPECT_EQ(SelectedCells(model), (Cells{{3, 2}}));
    model.SetRowMode(true);
    EXPECT_EQ(SelectedCells(model), (Cells{{3, 1}, {3, 2}, {3, 3}}));
    model.SelectRow(4);
    EXPECT_EQ(SelectedCells(model), (Cells{{4, 1}, {4, 2}, {4, 3}}));
    model.ClearSelection();
    EXPECT_TRUE(SelectedCells(model).empty());
    EXPECT_EQ(model.Current(), (GridCursor{0, 0}));
    // A current cell set from outside, by cell, row or key search, is where the next Shift spans
    // from, however the anchor stood; a row made current keeps its column, wherever it is shown.
    model.SetMultiSelect(true);
    model.SetRowMode(false);
    ModelInput input(model);
    model.SwapColumns(1, 3);
    model.SetKeySearchColumn(1);
    for (const auto& set : std::initializer_list<std::function<void()>>{
             [&] { model.SelectCell(3, 1, true); }, [&] { model.SetCurrentRow(3); }, [&] { model.SelectRow(3); },
             [&] { model.GoToSearchMatch(3, L"X"); }}) {
        input.Click(1, 1);
        input.Key(GridKey::Down, kShiftMask);  // the anchor at (1, 1)
        set();
        input.Key(GridKey::Down, kShiftMask);
        EXPECT_EQ(SelectedCells(model), (Cells{{3, 1}, {4, 1}}));
    }
}

}  // namespace
}  // namespace ferryl::test
