// Events reach the owner through the listener, and what the owner writes into by-reference
// parameters comes back to the grid.

#include "grid_fixture.h"

namespace ferryl::test {
namespace {

class GridEventsTest : public GridTest {
  protected:
    void SetUp() override {
        GridTest::SetUp();
        Listen();
    }
};

TEST_F(GridEventsTest, SelectionChangeIsRaisedOnlyWhenTheCurrentCellMoves) {
    AddColumns(2);
    grid.Rows(3);
    grid.CellSelected(2, 1, true);
    grid.CellSelected(2, 1, false);  // single selection: the same cell stays current, no event
    grid.CellSelected(3, 2, true);
    ASSERT_EQ(listener.selections.size(), 2u);
    EXPECT_EQ(listener.selections[0], (std::pair<long, long>{2, 1}));
    EXPECT_EQ(listener.selections[1], (std::pair<long, long>{3, 2}));
    EXPECT_FALSE(grid.CellSelected(2, 1));
    EXPECT_TRUE(grid.CellSelected(3, 2));

    // What row mode and MultiSelect select is the model's, tested in tests/core.
    grid.RowMode(true);
    grid.MultiSelect(true);
    grid.CellSelected(1, 1, true);
    EXPECT_TRUE(grid.CellSelected(1, 2));
    EXPECT_EQ(listener.selections.size(), 2u);  // multi-select changes raise nothing here
}

TEST_F(GridEventsTest, TheOwnersAnswerToRequestEditBecomesTheEditState) {
    AddColumns(1);
    grid.Rows(2);
    grid.CellSelected(2, 1, true);
    grid.RequestCellEdit();
    EXPECT_TRUE(listener.edits.empty());  // not editable
    grid.Editable(true);
    listener.keepEditing = false;
    grid.RequestCellEdit();
    ASSERT_EQ(listener.edits.size(), 1u);
    EXPECT_EQ(listener.edits[0], (std::pair<long, long>{2, 1}));
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

TEST_F(GridEventsTest, VirtualRowsComeFromTheOwnerUntilItSaysNoMore) {
    AddColumns(1);
    // The painter asks for rows by itself; here only the explicit requests are looked at.
    grid.Redraw(false);
    grid.DefaultRowHeight(17);
    grid.Virtual(true);
    listener.lastRow = 2;
    EXPECT_TRUE(grid.RequestVirtualRow(1));
    EXPECT_TRUE(grid.RequestVirtualRow(2));
    EXPECT_FALSE(grid.RequestVirtualRow(3));
    EXPECT_FALSE(grid.MoreRows());
    EXPECT_FALSE(grid.RequestVirtualRow(4));  // no more requests after the owner's "no more"
    EXPECT_EQ(listener.requested, (std::vector<long>{1, 2, 3}));
    EXPECT_EQ(listener.requestedHeight, 17);
    EXPECT_EQ(listener.filled, (std::vector<long>{1, 2}));
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.RowHeight(2), 17);
    EXPECT_EQ(grid.RowTable()[2].sKey, L"");  // only bNoMoreRows is read back
    EXPECT_EQ(grid.CellText(2, 1).ToText(), L"row 2");

    grid.Clear();
    EXPECT_TRUE(grid.MoreRows());
}

TEST_F(GridEventsTest, StoredPropertiesTellTheContainer) {
    grid.GridLines(true);
    grid.HeaderDragReOrderColumns(false);
    grid.KeySearchColumn(1);  // not stored: no notice
    EXPECT_EQ(listener.changed, (std::vector<std::wstring>{L"GridLines", L"HeaderDragReOrderColumns"}));
}

}  // namespace
}  // namespace ferryl::test
