// What MoskGrid adds to its model's rows, columns and cells (tested natively in tests/core): the
// calls it refuses, leaving everything as it was; column keys; cells that keep to their columns;
// blank and grown cells; rows added whole; the format object; shared fonts; formatted text; and what
// the key search matches.

#include <tuple>

#include "grid_fixture.h"
#include "support/dates.h"

namespace ferryl::test {
namespace {

TEST_F(GridTest, RefusedCallsRaiseTheirErrorAndChangeNothing) {
    EXPECT_EQ(CatchGridError([&] { grid.Rows(1); }).Number(), 9) << "no columns";
    EXPECT_EQ(CatchGridError([&] { grid.AddRowWithCells({{TaggedValue(L"a")}}); }).Number(), 9);
    grid.AddColumn();
    grid.AddColumn();  // a second empty key is allowed, and so are keys differing in letter case
    grid.AddColumn(L"Name");
    grid.AddColumn(L"name");
    grid.Rows(5);
    const std::function<void()> refused[] = {
        [&] { grid.Rows(0); },
        [&] { grid.RowHeight(6, 10); },  // would leave a row without cells
        [&] { grid.AddRow(7); },
        [&] { grid.RemoveRow(6); },
        [&] { grid.RemoveRow(0); },
        [&] { grid.CellText(1, 5); },
        [&] { grid.CellIcon(6, 1, 2); },
        [&] { grid.RowVisible(6); },
        [&] { grid.RowIsGroup(0, true); },
        [&] { grid.ColumnWidth(TaggedValue(L"zz"), 5); },
        [&] { grid.ColumnTag(0); },
        [&] { grid.SelectedRow(6); },
        [&] { grid.SelectedCol(0); },
        [&] { grid.AddRowWithCells(std::vector<MoskGrid::tRowCell>(5, {TaggedValue(L"x")})); },
    };
    for (size_t i = 0; i < std::size(refused); ++i)
        EXPECT_EQ(CatchGridError(refused[i]).Number(), 9) << i;
    EXPECT_EQ(CatchGridError([&] { grid.AddColumn(L"Name"); }).Number(), 457);
    EXPECT_EQ(CatchGridError([&] { grid.ColumnKey(4, L"Name"); }).Number(), 457);
    EXPECT_EQ(grid.ColumnKey(4), L"name");
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.Columns(), 4);
    EXPECT_EQ(grid.CellTable().size(), grid.RowTable().size());
    // A key that reads as a number is taken as a cell-column index.
    grid.AddColumn(L"12");
    EXPECT_THROW(grid.ColumnIndex(TaggedValue(L"12")), Error);
    EXPECT_EQ(grid.ColumnIndex(TaggedValue(L"4")), 4);
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

TEST_F(GridTest, AnAttachedFormatObjectWritesThroughADetachedOneWhenHandedOverAndNoneOutlivingItsGrid) {
    AddColumns(2);
    grid.Rows(2);
    grid.CellDetails(1, 2, TaggedValue(L"text"), 0x20, 3, 0xFF, 0x00FF00, nullptr, 4, 5, 77);
    cGridCell cell = grid.Cell(1, 2);
    EXPECT_EQ(std::tuple(cell.Text().ToText(), cell.IconIndex(), cell.ItemData()), std::tuple(L"text", 3L, 77L));
    cell.Text(TaggedValue(L"changed"));
    cell.DefaultForeColor();
    cell.ExtraIconIndex(1);
    cell.Font(std::make_shared<GridFont>(L"Arial", 10.0, true));
    EXPECT_EQ(grid.CellText(1, 2).ToText(), L"changed");
    EXPECT_EQ(grid.CellForeColor(1, 2), -1);
    EXPECT_EQ(grid.CellExtraIcon(1, 2), 1);
    EXPECT_EQ(grid.CellFont(1, 2)->Name, L"Arial");
    cGridCell fresh = grid.NewCellFormatObject();
    fresh.Text(TaggedValue(L"handed over"));
    EXPECT_TRUE(grid.CellText(2, 1).IsEmpty());
    grid.Cell(2, 1, fresh);
    EXPECT_EQ(grid.CellText(2, 1).ToText(), L"handed over");
    {
        MoskGrid other;
        ASSERT_TRUE(other.Create(host.Hwnd(), 0, 0, 100, 100));
        other.AddColumn();
        other.Rows(1);
        cell = other.Cell(1, 1);
    }
    EXPECT_FALSE(cell.IsAttached());
    cell.Text(TaggedValue(L"no grid"));  // must not write into the destroyed grid
}

TEST_F(GridTest, EqualFontsShareOneEntryWhichKeepsItsOwnCopy) {
    AddColumns(2);
    grid.Rows(3);
    GridFont arial(L"Arial", 9.0, false, true);
    grid.CellFont(1, 1, arial);
    grid.CellFont(2, 2, GridFont(L"Arial", 9.0, false, true));
    EXPECT_EQ(grid.FontList().Count(), 1);
    grid.CellFont(3, 1, GridFont(L"arial", 9.0, false, true));  // names compare exactly
    grid.CellFont(3, 2, GridFont(L"Arial", 9.0, true, true));
    EXPECT_EQ(grid.FontList().Count(), 3);
    arial.Name = L"Courier New";
    grid.CellDetails(1, 1, TaggedValue(L"x"));
    EXPECT_EQ(grid.CellFont(1, 1)->Name, L"Arial") << "kept through the change and CellDetails";
    grid.CellDefaultFont(1, 1);
    EXPECT_EQ(grid.CellFont(1, 1), nullptr);
}

TEST_F(GridTest, FormattedTextFollowsItsColumnsPictureAndTheKeySearchMatchesTheCellsText) {
    grid.AddColumn(L"date", L"", 0, -1, -1, true, false, TaggedValue::Missing(), true, L"dd/mm/yy hh:mm");
    grid.AddColumn(L"size", L"", 0, -1, -1, true, false, TaggedValue::Missing(), true, L"#,###,###,##0");
    grid.AddColumn(L"plain");
    grid.Rows(4);
    grid.CellText(1, 1, DateValue(2024, 3, 7, 14, 5, 59));
    grid.CellText(1, 2, TaggedValue(1234567.0));
    grid.ColumnOrder(TaggedValue(L"date"), 3);  // the picture follows the column
    EXPECT_EQ(grid.CellFormattedText(1, 1), L"07/03/24 14:05");
    EXPECT_EQ(grid.CellFormattedText(1, 2), L"1,234,567");
    EXPECT_EQ(grid.CellFormattedText(9, 9), L"");
    for (const auto& [row, value] : {std::pair{1L, TaggedValue(L"Abc")},
                                     {2L, TaggedValue(L"abd")},
                                     {3L, TaggedValue(12.5)},
                                     {4L, TaggedValue(L"abz")}})
        grid.CellText(row, 3, value);
    grid.KeySearchColumn(3);
    grid.CellSelected(2, 1, true);
    EXPECT_EQ(grid.FindSearchMatchRow(L"AB"), 4);
    EXPECT_EQ(grid.FindSearchMatchRow(L"ABCD"), 0) << "longer than every value";
    EXPECT_EQ(grid.FindSearchMatchRow(L"12"), 3) << "numbers are searched as their text";
    grid.CellDetails(4, 3);  // the omitted text: the missing marker, which is skipped
    EXPECT_EQ(grid.FindSearchMatchRow(L"AB"), 1);
}

}  // namespace
}  // namespace ferryl::test
