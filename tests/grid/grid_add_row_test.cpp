// A row added whole: every cell it brings, or no row at all.

#include "grid/grid_errors.h"
#include "grid_fixture.h"

namespace ferryl::test {
namespace {

TEST_F(GridTest, ARowAddedWholeHoldsItsCellsOrIsNotAddedAtAll) {
    EXPECT_EQ(CatchGridError([&] { grid.AddRowWithCells({{TaggedValue(L"a")}}); }).Number(), 9);
    AddColumns(3);
    grid.Rows(1);
    grid.AddRowWithCells({{TaggedValue(L"a")}, {TaggedValue(L"b"), 2}});
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_EQ(ColumnTexts(1), L",a");
    EXPECT_EQ(grid.CellTextAlign(2, 1), MoskGrid::kDefaultTextFormat | MoskGrid::kNoPrefix);
    EXPECT_EQ(grid.CellTextAlign(2, 2), 2u | MoskGrid::kNoPrefix);
    EXPECT_EQ(grid.CellText(2, 3).kind(), grid.CellText(1, 3).kind()) << "the rest blank";
    EXPECT_EQ(grid.RowTable()[2].lStartY, grid.RowTable()[1].lHeight);

    // One cell too many: refused before anything changes.
    const std::vector<MoskGrid::tRowCell> tooMany(4, {TaggedValue(L"x")});
    EXPECT_EQ(CatchGridError([&] { grid.AddRowWithCells(tooMany); }).Number(), 9);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.CellTable().size(), grid.RowTable().size());
}

}  // namespace
}  // namespace ferryl::test
