// The grid's members without the screen, where MoskGrid adds to its model (tested in tests/core):
// the calls it refuses, cells that keep to their columns, rows added whole, the cell and accessible
// objects outliving the grid, the events of changes.

#include "paint_fixture.h"
#include "support/accessibility.h"

namespace ferryl::test {
namespace {

TEST_F(GridTest, RefusedCallsRaiseTheirErrorAndChangeNothing) {
    EXPECT_EQ(GridErrorNumber([&] { grid.Rows(1); }), 9) << "no columns";
    EXPECT_EQ(GridErrorNumber([&] { grid.AddRowWithCells({{TaggedValue(L"a")}}); }), 9);
    grid.AddColumn();
    grid.AddColumn();  // a second empty key is allowed, and so are keys differing in letter case
    grid.AddColumn(L"Name");
    grid.AddColumn(L"name");
    grid.Rows(5);
    // RowHeight past the last row would leave a row without cells.
    const std::function<void()> refused[] = {[&] { grid.Rows(0); },
                                             [&] { grid.RowHeight(6, 10); },
                                             [&] { grid.AddRow(7); },
                                             [&] { grid.RemoveRow(6); },
                                             [&] { grid.CellText(1, 5); },
                                             [&] { grid.CellIcon(6, 1, 2); },
                                             [&] { grid.RowVisible(6); },
                                             [&] { grid.ColumnWidth(TaggedValue(L"zz"), 5); },
                                             [&] { grid.ColumnTag(0); },
                                             [&] { grid.SelectedRow(6); },
                                             [&] { grid.SelectedCol(0); },
                                             [&] { grid.AddRowWithCells(std::vector<MoskGrid::tRowCell>(5, {TaggedValue(L"x")})); }};
    for (size_t i = 0; i < std::size(refused); ++i)
        EXPECT_EQ(GridErrorNumber(refused[i]), 9) << i;
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.Columns(), 4);
    EXPECT_EQ(grid.CellTable().size(), grid.RowTable().size());
}

TEST_F(GridTest, CellsKeepToTheirColumnsAndNewOnesAreBlank) {
    AddColumns(4);
    grid.Rows(2);
    for (long c = 1; c <= 4; ++c)
        grid.CellText(1, c, TaggedValue(L"v" + std::to_wstring(c)));
    grid.CellIcon(2, 2, 3);
    grid.AddColumn(L"new", L"", 0, -1, -1, true, false, TaggedValue(L"c2"));
    EXPECT_EQ(grid.ColumnIndex(TaggedValue(L"new")), 2);
    EXPECT_EQ(ColumnTexts(2), L",");
    EXPECT_EQ(grid.CellIcon(2, 2), -1) << "blank";
    EXPECT_EQ(grid.CellIcon(2, 3), 3);
    // Display position 1 then holds c3, whose cells are cell column 4: removing it takes those.
    grid.ColumnOrder(TaggedValue(L"c1"), 4);
    grid.RemoveColumn(TaggedValue(L"c3"));
    std::wstring kept;
    for (const wchar_t* key : {L"c1", L"new", L"c2", L"c4"})
        kept += grid.CellText(1, grid.ColumnTable()[grid.ColumnIndex(TaggedValue(key))].lCellColIndex).ToText() + L",";
    EXPECT_EQ(kept, L"v1,,v2,v4,");

    grid.Rows(4);
    EXPECT_EQ(grid.CellTextAlign(4, 2), 0x40820u);
    EXPECT_EQ(grid.CellBackColor(4, 2), -1);
    grid.Rows(1);
    EXPECT_EQ(grid.CellText(1, 1).ToText(), L"v1") << "shrinking keeps the rest";
    // CellDetails past the last row grows the grid first; every format gets DT_NOPREFIX.
    grid.CellDetails(3, 2, TaggedValue(L"grown"), 0);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.CellTextAlign(3, 2), 0x800u);
    // A row added whole holds its cells and formats, the rest blank.
    grid.AddRowWithCells({{TaggedValue(L"a")}, {TaggedValue(L"b"), 2}});
    EXPECT_EQ(ColumnTexts(1), L"v1,,,a");
    EXPECT_EQ(grid.CellTextAlign(4, 2), 2u | 0x800u);
    EXPECT_TRUE(grid.CellText(4, 3).IsEmpty());
    // The only row removed is a Clear that keeps the columns.
    grid.Rows(1);
    grid.RemoveRow(1);
    EXPECT_EQ(grid.Rows(), 0);
    EXPECT_EQ(grid.Columns(), 4);
}

TEST_F(GridTest, ACellAndTheAccessibleObjectLetGoWhenTheGridGoes) {
    cGridCell cell = grid.NewCellFormatObject();
    AccessibleRef access;
    {
        MoskGrid other;
        ASSERT_TRUE(other.Create(host.Hwnd(), 0, 0, 100, 100));
        other.AddColumn();
        other.Rows(1);
        cell = other.Cell(1, 1);
        access = ClientAccessible(other.hwnd());
        ASSERT_TRUE(access);
    }
    EXPECT_FALSE(cell.IsAttached());
    cell.Text(TaggedValue(L"no grid"));  // must not write into the destroyed grid
    LONG count = 5;
    EXPECT_EQ(access->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(access->accDoDefaultAction(Child(1)), CO_E_OBJNOTCONNECTED);
}

TEST_F(GridTest, SelectionChangeTellsOfMovesOnly) {
    AddColumns(2);
    grid.Rows(3);
    grid.CellSelected(2, 1, true);
    grid.CellSelected(2, 1, false);  // single selection: the same cell stays current, no event
    grid.CellSelected(3, 2, true);
    EXPECT_EQ(listener.selections, (std::vector<std::pair<long, long>>{{2, 1}, {3, 2}}));
}

}  // namespace
}  // namespace ferryl::test
