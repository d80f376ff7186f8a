// The shape operations of MoskGrid and the invariants they keep: start positions, the cell table's
// size, the errors and their texts.

#include <random>

#include "grid/grid_errors.h"
#include "grid_fixture.h"

namespace ferryl::test {
namespace {

// Every row and column start where the visible ones before it end, and the cell table matches the
// row and column counts.
void ExpectConsistent(const MoskGrid& grid) {
    const auto& rows = grid.RowTable();
    const auto& cols = grid.ColumnTable();
    ASSERT_EQ(rows.size(), static_cast<size_t>(grid.Rows()) + 1);
    ASSERT_EQ(cols.size(), static_cast<size_t>(grid.Columns()) + 1);
    ASSERT_EQ(grid.CellTable().size(), rows.size());
    EXPECT_EQ(rows[0].lStartY, 0);
    long y = 0;
    for (size_t r = 1; r < rows.size(); ++r) {
        y += rows[r - 1].bVisible ? rows[r - 1].lHeight : 0;
        EXPECT_EQ(rows[r].lStartY, y) << "row " << r;
        EXPECT_EQ(grid.CellTable()[r].size(), static_cast<size_t>(grid.Columns())) << "row " << r;
    }
    long x = 0;
    std::vector<bool> seen(cols.size(), false);
    for (size_t c = 1; c < cols.size(); ++c) {
        x += cols[c - 1].bVisible ? cols[c - 1].lWidth : 0;
        EXPECT_EQ(cols[c].lStartX, x) << "column " << c;
        long cell = cols[c].lCellColIndex;
        ASSERT_TRUE(cell >= 1 && cell < static_cast<long>(cols.size())) << "column " << c;
        EXPECT_FALSE(seen[static_cast<size_t>(cell)]) << "cell column " << cell << " owned twice";
        seen[static_cast<size_t>(cell)] = true;
    }
}

TEST_F(GridTest, AddColumnDefaultsAndKeys) {
    grid.AddColumn();
    const tGridColumn& column = grid.ColumnTable()[1];
    EXPECT_EQ(column.lWidth, 64);
    EXPECT_EQ(column.eSortType, 102);
    EXPECT_TRUE(column.bVisible);
    EXPECT_TRUE(column.bIncludeInSelect);
    EXPECT_EQ(column.sKey, L"");
    grid.AddColumn();  // a second empty key is allowed
    grid.AddColumn(L"Name");
    grid.AddColumn(L"name");  // keys differ in letter case
    EXPECT_EQ(grid.Columns(), 4);

    Error error = CatchGridError([&] { grid.AddColumn(L"Name"); });
    EXPECT_EQ(error.Number(), 457);
    EXPECT_EQ(error.Description(), L"This key is already associated with an element of this collection");
    EXPECT_EQ(error.Source(), ExecutableBaseName() + L".MoskGrid");
    EXPECT_EQ(grid.Columns(), 4);
    EXPECT_EQ(CatchGridError([&] { grid.ColumnKey(4, L"Name"); }).Number(), 457);
    EXPECT_EQ(grid.ColumnKey(4), L"name");
}

TEST_F(GridTest, InsertedColumnTakesItsPlaceAndItsCellsAreBlank) {
    AddColumns(3);
    grid.ColumnWidth(TaggedValue(L"c2"), 30);
    grid.ColumnVisible(TaggedValue(L"c2"), false);
    grid.Rows(2);
    for (long c = 1; c <= 3; ++c)
        grid.CellText(1, c, TaggedValue(L"r1c" + std::to_wstring(c)));
    grid.KeySearchColumn(3);

    grid.AddColumn(L"new", L"", 0, -1, -1, true, false, TaggedValue(L"c2"));
    ExpectConsistent(grid);
    EXPECT_EQ(grid.ColumnIndex(TaggedValue(L"new")), 2);
    EXPECT_EQ(grid.ColumnIndex(TaggedValue(L"c2")), 3);
    EXPECT_EQ(grid.CellText(1, 1).ToText(), L"r1c1");
    EXPECT_TRUE(grid.CellText(1, 2).IsEmpty());
    EXPECT_EQ(grid.CellTextAlign(1, 2), 0x40820u);
    EXPECT_EQ(grid.CellText(1, 3).ToText(), L"r1c2");
    EXPECT_EQ(grid.CellText(1, 4).ToText(), L"r1c3");
    // The hidden column takes no room: c3 starts after c1 and the new column only.
    EXPECT_EQ(grid.ColumnTable()[4].lStartX, 128);
    // The key-search column still names the same data.
    EXPECT_EQ(grid.KeySearchColumn(), 4);
}

TEST_F(GridTest, ColumnOrderExchangesAndRemoveAfterReorderingTakesTheRightCells) {
    AddColumns(4);
    grid.Rows(1);
    for (long c = 1; c <= 4; ++c)
        grid.CellText(1, c, TaggedValue(L"v" + std::to_wstring(c)));
    grid.ColumnWidth(TaggedValue(L"c1"), 10);

    grid.ColumnOrder(TaggedValue(L"c1"), 3);
    ExpectConsistent(grid);
    EXPECT_EQ(grid.ColumnIndex(TaggedValue(L"c1")), 3);
    EXPECT_EQ(grid.ColumnIndex(TaggedValue(L"c3")), 1);
    EXPECT_EQ(grid.ColumnIndex(TaggedValue(L"c2")), 2);
    EXPECT_EQ(grid.ColumnTable()[4].lStartX, 64 + 64 + 10);

    // Display position 1 now holds c3, whose cells are cell column 3.
    grid.RemoveColumn(TaggedValue(L"c3"));
    ExpectConsistent(grid);
    EXPECT_EQ(grid.Columns(), 3);
    EXPECT_THROW(grid.ColumnIndex(TaggedValue(L"c3")), Error);
    EXPECT_EQ(grid.CellText(1, grid.ColumnTable()[grid.ColumnIndex(TaggedValue(L"c1"))].lCellColIndex).ToText(), L"v1");
    EXPECT_EQ(grid.CellText(1, grid.ColumnTable()[grid.ColumnIndex(TaggedValue(L"c2"))].lCellColIndex).ToText(), L"v2");
    EXPECT_EQ(grid.CellText(1, grid.ColumnTable()[grid.ColumnIndex(TaggedValue(L"c4"))].lCellColIndex).ToText(), L"v4");
}

TEST_F(GridTest, RowsSetterGrowsWithBlankCellsAndShrinksKeepingTheRest) {
    Error none = CatchGridError([&] { grid.Rows(1); });
    EXPECT_EQ(none.Number(), 9);
    EXPECT_EQ(none.Description(), L"Attempt to add rows with no columns.");
    AddColumns(2);
    Error zero = CatchGridError([&] { grid.Rows(0); });
    EXPECT_EQ(zero.Description(), L"Row subscript out of range");

    grid.Rows(5);
    ExpectConsistent(grid);
    for (long r = 1; r <= 5; ++r) {
        EXPECT_EQ(grid.RowHeight(r), 20);
        EXPECT_TRUE(grid.RowVisible(r));
        EXPECT_EQ(grid.CellIcon(r, 2), -1);
        EXPECT_EQ(grid.CellBackColor(r, 2), -1);
        EXPECT_EQ(grid.CellForeColor(r, 2), -1);
        EXPECT_EQ(grid.CellTextAlign(r, 2), 0x40820u);
    }
    grid.CellText(2, 1, TaggedValue(L"kept"));
    grid.Rows(2);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.CellText(2, 1).ToText(), L"kept");
}

TEST_F(GridTest, InsertedRowPushesTheOthersDownByItsHeightUnlessHidden) {
    AddColumns(2);
    grid.Rows(2);
    grid.CellText(1, 1, TaggedValue(L"first"));
    grid.AddRow(1, L"k", true, 30);
    ExpectConsistent(grid);
    EXPECT_EQ(grid.RowTable()[2].lStartY, 30);
    EXPECT_EQ(grid.RowTable()[3].lStartY, 50);
    EXPECT_TRUE(grid.CellText(1, 1).IsEmpty());
    EXPECT_EQ(grid.CellText(2, 1).ToText(), L"first");
    EXPECT_EQ(grid.RowTable()[1].sKey, L"k");

    grid.AddRow(1, L"", false, 30);
    ExpectConsistent(grid);
    EXPECT_EQ(grid.RowTable()[2].lStartY, 0);
    EXPECT_EQ(grid.CellText(3, 1).ToText(), L"first");

    grid.AddRow();
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.RowHeight(5), 20);
    ExpectConsistent(grid);
}

TEST_F(GridTest, RemovingRowsKeepsColumnsAndStartPositions) {
    AddColumns(2);
    grid.Rows(4);
    grid.RowHeight(2, 35);
    grid.CellText(3, 2, TaggedValue(L"three"));
    grid.RemoveRow(2);
    ExpectConsistent(grid);
    EXPECT_EQ(grid.CellText(2, 2).ToText(), L"three");
    EXPECT_EQ(grid.RowTable()[3].lStartY, 40);
    grid.RemoveRow(3);
    grid.RemoveRow(1);
    grid.RemoveRow(1);  // the only row: as Clear(False)
    EXPECT_EQ(grid.Rows(), 0);
    EXPECT_EQ(grid.Columns(), 2);
    grid.Clear(true);
    EXPECT_EQ(grid.Columns(), 0);
}

TEST_F(GridTest, CellMembersValidateColumnFirstThenRow) {
    AddColumns(2);
    grid.Rows(2);
    Error column = CatchGridError([&] { grid.CellText(9, 3); });
    EXPECT_EQ(column.Number(), 9);
    EXPECT_EQ(column.Description(), L"Invalid Column Index");
    Error row = CatchGridError([&] { grid.CellIcon(3, 1, 2); });
    EXPECT_EQ(row.Description(), L"Invalid Row Index");
    EXPECT_EQ(CatchGridError([&] { grid.RowVisible(3); }).Description(), L"Invalid Row Subscript");
    EXPECT_EQ(CatchGridError([&] { grid.RowIsGroup(0, true); }).Description(), L"Invalid Row Subscript");
    EXPECT_EQ(CatchGridError([&] { grid.ColumnWidth(TaggedValue(L"zz"), 5); }).Description(),
              L"Column subscript out of range");
    Error index = CatchGridError([&] { grid.ColumnIndex(TaggedValue(L"zz")); });
    EXPECT_EQ(index.Number(), 9);
    EXPECT_EQ(index.Description(), L"Subscript out of range");
    EXPECT_EQ(CatchGridError([&] { grid.ColumnTag(0); }).Number(), 9);
    EXPECT_EQ(CatchGridError([&] { grid.SelectedRow(3); }).Number(), 9);
    EXPECT_EQ(CatchGridError([&] { grid.SelectedCol(0); }).Number(), 9);

    grid.CellTextAlign(1, 1, 0);
    EXPECT_EQ(grid.CellTextAlign(1, 1), 0x800u);
    grid.CellDetails(5, 2, TaggedValue(L"grown"));
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.CellText(5, 2).ToText(), L"grown");
}

TEST_F(GridTest, ANumericTextKeyIsTakenAsACellColumnIndex) {
    grid.AddColumn(L"a");
    grid.AddColumn(L"12");
    EXPECT_THROW(grid.ColumnIndex(TaggedValue(L"12")), Error);
    EXPECT_EQ(grid.ColumnIndex(TaggedValue(L"2")), 2);
    EXPECT_EQ(grid.ColumnIndex(TaggedValue(1)), 1);
}

TEST_F(GridTest, RowsOutsideTheGridAreRefused) {
    AddColumns(2);
    grid.Rows(5);
    EXPECT_EQ(CatchGridError([&] { grid.RowHeight(6, 10); }).Description(), L"Row subscript out of range");
    EXPECT_EQ(CatchGridError([&] { grid.AddRow(7); }).Number(), 9);
    EXPECT_EQ(CatchGridError([&] { grid.RemoveRow(6); }).Number(), 9);
    EXPECT_EQ(CatchGridError([&] { grid.RemoveRow(0); }).Number(), 9);
    EXPECT_EQ(grid.Rows(), 5);
    ExpectConsistent(grid);
}

// Random shape changes, checked after each one against the invariants.
TEST_F(GridTest, RandomShapeChangesKeepTheInvariants) {
    std::mt19937 random(4711);
    AddColumns(3);
    grid.Redraw(false);
    for (int step = 0; step < 400; ++step) {
        int op = static_cast<int>(random() % 9);
        long rows = grid.Rows();
        long cols = grid.Columns();
        auto anyRow = [&] { return static_cast<long>(random() % static_cast<unsigned>(rows)) + 1; };
        auto anyCol = [&] { return static_cast<long>(random() % static_cast<unsigned>(cols)) + 1; };
        switch (op) {
            case 0:
                grid.AddRow(rows > 0 && random() % 2 ? anyRow() : -1, L"", random() % 4 != 0,
                            static_cast<long>(random() % 40));
                break;
            case 1:
                if (rows > 0)
                    grid.RemoveRow(anyRow());
                break;
            case 2:
                if (rows > 0)
                    grid.RowVisible(anyRow(), random() % 2 == 0);
                break;
            case 3:
                if (rows > 0)
                    grid.RowHeight(anyRow(), static_cast<long>(random() % 50));
                break;
            case 4:
                if (cols > 0)
                    grid.Rows(static_cast<long>(random() % 20) + 1);
                break;
            case 5:
                if (cols < 6)
                    grid.AddColumn(L"", L"", 0, -1, static_cast<long>(random() % 80), random() % 3 != 0, false,
                                   cols > 0 && random() % 2 ? TaggedValue(anyCol()) : TaggedValue::Missing());
                break;
            case 6:
                if (cols > 1)
                    grid.RemoveColumn(TaggedValue(anyCol()));
                break;
            case 7:
                if (cols > 1)
                    grid.ColumnOrder(TaggedValue(anyCol()), anyCol());
                break;
            case 8:
                if (cols > 0)
                    grid.ColumnVisible(TaggedValue(anyCol()), random() % 2 == 0);
                break;
        }
        ExpectConsistent(grid);
        if (HasFatalFailure() || HasNonfatalFailure()) {
            ADD_FAILURE() << "after step " << step << " (operation " << op << ")";
            return;
        }
    }
}

}  // namespace
}  // namespace ferryl::test
