// MoskGrid::Sort on the window's grid: the current row and the row records follow their data (the
// comparisons are tested in shell_sort_test.cpp, the order in tests/core).

#include "grid/shell_sort.h"
#include "grid_fixture.h"

namespace ferryl::test {
namespace {

using SortObj = cShellSortTGridCells;

class GridSortTest : public GridTest {
  protected:
    // One key: cell column, type, order.
    void SortBy(short column, long type, long order) {
        grid.SortObject().SortColumn(1, column);
        grid.SortObject().SortType(1, type);
        grid.SortObject().SortOrder(1, order);
    }
    void Fill(long column, const std::vector<TaggedValue>& values) {
        for (size_t i = 0; i < values.size(); ++i)
            grid.CellDetails(static_cast<long>(i + 1), column, values[i]);
    }
};

TEST_F(GridSortTest, WithoutASortKeyNothingChangesNotEvenTheSelection) {
    AddColumns(2);
    Fill(1, {L"c", L"a", L"b"});
    grid.Sort();  // no sort object yet
    EXPECT_EQ(grid.SelectedRow(), 0);
    EXPECT_EQ(grid.SelectedCol(), 0);
    grid.CellSelected(3, 2, true);
    grid.SortObject().Clear();
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"c,a,b");
    EXPECT_EQ(grid.SelectedRow(), 3);
    EXPECT_EQ(grid.SelectedCol(), 2);
    EXPECT_TRUE(grid.CellSelected(3, 2));
    EXPECT_FALSE(grid.CellSelected(1, 1));
}

TEST_F(GridSortTest, TheCurrentRowFollowsItsDataAndNoSelectionGivesRowOne) {
    AddColumns(2);
    Fill(1, {L"d", L"b", L"e", L"a", L"c"});
    grid.AddRow(-1, L"key of f");
    grid.CellText(6, 1, TaggedValue(L"f"));
    grid.RowHeight(3, 45);
    SortBy(1, SortObj::eSortString, SortObj::eSortDescending);
    grid.Sort();
    EXPECT_EQ(grid.SelectedRow(), 1);
    EXPECT_EQ(grid.SelectedCol(), 1);

    grid.CellSelected(5, 2, true);  // "b" after the first sort
    ASSERT_EQ(grid.CellText(5, 1).ToText(), L"b");
    SortBy(1, SortObj::eSortString, SortObj::eSortAscending);
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"a,b,c,d,e,f");
    EXPECT_EQ(grid.SelectedRow(), 2);
    EXPECT_EQ(grid.SelectedCol(), 2);
    EXPECT_TRUE(grid.CellSelected(2, 2));
    EXPECT_EQ(grid.RowTable()[6].sKey, L"key of f");
    // Row records travel with their cells, and the start positions are laid again.
    EXPECT_EQ(grid.RowHeight(5), 45);
    EXPECT_EQ(grid.RowTable()[6].lStartY, 20 * 4 + 45);
    for (const auto& row : grid.RowTable())
        EXPECT_NE(row.sKey, L"!SELECTEDROW!");
}

}  // namespace
}  // namespace ferryl::test
