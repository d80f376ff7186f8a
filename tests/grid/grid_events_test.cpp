// Events reach the owner through the listener, and what the owner writes into by-reference
// parameters comes back to the grid.

#include "grid_fixture.h"

namespace ferryl::test {
namespace {

TEST_F(GridTest, SelectionChangeTellsOfMovesOnlyAndTheAnswerToRequestEditBecomesTheEditState) {
    Listen();
    AddColumns(2);
    grid.Rows(3);
    grid.CellSelected(2, 1, true);
    grid.CellSelected(2, 1, false);  // single selection: the same cell stays current, no event
    grid.CellSelected(3, 2, true);
    EXPECT_EQ(listener.selections, (std::vector<std::pair<long, long>>{{2, 1}, {3, 2}}));
    grid.GridLines(true);
    grid.KeySearchColumn(1);  // not stored: no notice
    EXPECT_EQ(listener.changed, (std::vector<std::wstring>{L"GridLines"})) << "stored properties tell the container";

    grid.RequestCellEdit();
    EXPECT_TRUE(listener.edits.empty()) << "not editable";
    grid.Editable(true);
    listener.keepEditing = false;
    grid.RequestCellEdit();
    EXPECT_EQ(listener.edits, (std::vector<std::pair<long, long>>{{3, 2}}));
    EXPECT_FALSE(grid.InEdit());
    grid.CancelEdit();
    EXPECT_EQ(listener.cancels, 0);
    listener.keepEditing = true;
    grid.RequestCellEdit();
    EXPECT_TRUE(grid.InEdit());
    grid.CancelEdit();
    EXPECT_EQ(listener.cancels, 1);
    EXPECT_FALSE(grid.InEdit());
}

TEST_F(GridTest, VirtualRowsComeFromTheOwnerUntilItSaysNoMore) {
    Listen();
    AddColumns(1);
    grid.Redraw(false);  // the painter asks for rows by itself; here only the explicit requests count
    grid.DefaultRowHeight(17);
    grid.Virtual(true);
    listener.lastRow = 2;
    EXPECT_TRUE(grid.RequestVirtualRow(1));
    EXPECT_TRUE(grid.RequestVirtualRow(2));
    EXPECT_FALSE(grid.RequestVirtualRow(3));
    EXPECT_FALSE(grid.MoreRows());
    EXPECT_FALSE(grid.RequestVirtualRow(4)) << "no more requests after the owner's no";
    EXPECT_EQ(listener.requested, (std::vector<long>{1, 2, 3}));
    EXPECT_EQ(listener.requestedHeight, 17);
    EXPECT_EQ(listener.filled, (std::vector<long>{1, 2}));
    EXPECT_EQ(grid.RowHeight(2), 17);
    EXPECT_EQ(grid.RowTable()[2].sKey, L"") << "only bNoMoreRows is read back";
    EXPECT_EQ(grid.CellText(2, 1).ToText(), L"row 2");
    grid.Clear();
    EXPECT_TRUE(grid.MoreRows());
}

}  // namespace
}  // namespace ferryl::test
