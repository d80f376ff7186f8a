// Cell accessors, the format object with its write-through, the shared font list, formatted text
// and the key search.

#include "grid_fixture.h"
#include "support/dates.h"

namespace ferryl::test {
namespace {

TEST_F(GridTest, AttachedFormatObjectWritesThroughAndDetachedOneDoesNot) {
    AddColumns(2);
    grid.Rows(2);
    grid.CellDetails(1, 2, TaggedValue(L"text"), 0x20, 3, 0xFF, 0x00FF00, nullptr, 4, 5, 77);

    cGridCell cell = grid.Cell(1, 2);
    EXPECT_TRUE(cell.IsAttached());
    EXPECT_EQ(cell.Text().ToText(), L"text");
    EXPECT_EQ(cell.TextAlign(), 0x820u);
    EXPECT_EQ(cell.IconIndex(), 3);
    EXPECT_EQ(cell.BackColor(), 0xFF);
    EXPECT_EQ(cell.ItemData(), 77);
    EXPECT_EQ(cell.Font(), nullptr);

    cell.Text(TaggedValue(L"changed"));
    cell.BackColor(0x123456);
    cell.DefaultForeColor();
    cell.Indent(9);
    cell.ExtraIconIndex(1);
    cell.ItemData(5);
    cell.TextAlign(2);
    cell.Font(std::make_shared<GridFont>(L"Arial", 10.0, true));
    EXPECT_EQ(grid.CellText(1, 2).ToText(), L"changed");
    EXPECT_EQ(grid.CellBackColor(1, 2), 0x123456);
    EXPECT_EQ(grid.CellForeColor(1, 2), -1);
    EXPECT_EQ(grid.CellIndent(1, 2), 9);
    EXPECT_EQ(grid.CellExtraIcon(1, 2), 1);
    EXPECT_EQ(grid.CellItemData(1, 2), 5);
    EXPECT_EQ(grid.CellTextAlign(1, 2), 0x802u);
    ASSERT_NE(grid.CellFont(1, 2), nullptr);
    EXPECT_EQ(grid.CellFont(1, 2)->Name, L"Arial");
    cell.Font(nullptr);
    EXPECT_EQ(grid.CellFont(1, 2), nullptr);

    // A new object is detached: setting it changes no cell until it is handed over.
    cGridCell fresh = grid.NewCellFormatObject();
    EXPECT_FALSE(fresh.IsAttached());
    EXPECT_EQ(fresh.TextAlign(), 0x40024u);
    fresh.Text(TaggedValue(L"handed over"));
    fresh.ItemData(42);
    EXPECT_EQ(grid.CellText(2, 1).IsEmpty(), true);
    grid.Cell(2, 1, fresh);
    EXPECT_EQ(grid.CellText(2, 1).ToText(), L"handed over");
    EXPECT_EQ(grid.CellTextAlign(2, 1), 0x40824u);
    EXPECT_EQ(grid.CellItemData(2, 1), 42);
}

TEST(GridCellLifetime, AnObjectThatOutlivesItsGridDetaches) {
    GridHostWindow host;
    ASSERT_TRUE(host.Create());
    cGridCell cell;
    {
        MoskGrid grid;
        ASSERT_TRUE(grid.Create(host.Hwnd(), 0, 0, 100, 100));
        grid.AddColumn();
        grid.Rows(1);
        cell = grid.Cell(1, 1);
        EXPECT_TRUE(cell.IsAttached());
    }
    EXPECT_FALSE(cell.IsAttached());
    cell.Text(TaggedValue(L"no grid"));  // must not write into the destroyed grid
    EXPECT_EQ(cell.Text().ToText(), L"no grid");
}

TEST_F(GridTest, EqualFontsShareOneEntryAndCellDetailsKeepsTheFont) {
    AddColumns(2);
    grid.Rows(3);
    GridFont arial(L"Arial", 9.0, false, true);
    grid.CellFont(1, 1, arial);
    grid.CellFont(2, 2, GridFont(L"Arial", 9.0, false, true));
    EXPECT_EQ(grid.FontList().Count(), 1);
    EXPECT_EQ(grid.CellTable()[1][0].lFntIndex, grid.CellTable()[2][1].lFntIndex);
    EXPECT_NE(grid.FontList().HandleAt(1), nullptr);
    grid.CellFont(3, 1, GridFont(L"arial", 9.0, false, true));  // names compare exactly
    grid.CellFont(3, 2, GridFont(L"Arial", 9.0, true, true));
    EXPECT_EQ(grid.FontList().Count(), 3);

    // The list keeps its own copy: changing the caller's object changes no cell.
    arial.Name = L"Courier New";
    EXPECT_EQ(grid.CellFont(1, 1)->Name, L"Arial");

    grid.CellDetails(1, 1, TaggedValue(L"x"));
    EXPECT_EQ(grid.CellFont(1, 1)->Name, L"Arial");
    EXPECT_EQ(grid.CellTextAlign(1, 1), 0x40820u);
    EXPECT_EQ(grid.CellIcon(1, 1), -1);
    EXPECT_EQ(grid.CellItemData(1, 1), 0);
    grid.CellDefaultFont(1, 1);
    EXPECT_EQ(grid.CellFont(1, 1), nullptr);
}

TEST_F(GridTest, FormattedTextUsesTheColumnsPicture) {
    grid.AddColumn(L"date", L"", 0, -1, -1, true, false, TaggedValue::Missing(), true, L"dd/mm/yy hh:mm");
    grid.AddColumn(L"size", L"", 0, -1, -1, true, false, TaggedValue::Missing(), true, L"#,###,###,##0");
    grid.AddColumn(L"plain");
    grid.Rows(1);
    grid.CellText(1, 1, DateValue(2024, 3, 7, 14, 5, 59));
    grid.CellText(1, 2, TaggedValue(1234567.0));
    grid.CellText(1, 3, TaggedValue(L"as is"));
    EXPECT_EQ(grid.CellFormattedText(1, 1), L"07/03/24 14:05");
    EXPECT_EQ(grid.CellFormattedText(1, 2), L"1,234,567");
    EXPECT_EQ(grid.CellFormattedText(1, 3), L"as is");
    // The format follows the column when columns are reordered.
    grid.ColumnOrder(TaggedValue(L"date"), 3);
    EXPECT_EQ(grid.CellFormattedText(1, 1), L"07/03/24 14:05");
    EXPECT_EQ(grid.CellFormattedText(1, 3), L"as is");
    EXPECT_EQ(grid.CellFormattedText(9, 9), L"");
}

// Where the search starts and wraps is the model's, tested in tests/core; here, what matches a cell.
TEST_F(GridTest, KeySearchMatchesTheCellsTextAndPassesItsSwitches) {
    AddColumns(2);
    grid.Rows(4);
    grid.CellText(1, 2, TaggedValue(L"Abc"));
    grid.CellText(2, 2, TaggedValue(L"abd"));
    grid.CellText(3, 2, TaggedValue(12.5));
    grid.CellText(4, 2, TaggedValue(L"abz"));
    grid.KeySearchColumn(2);
    grid.CellSelected(2, 1, true);
    EXPECT_EQ(grid.FindSearchMatchRow(L"AB"), 4);
    EXPECT_EQ(grid.FindSearchMatchRow(L"AB", false), 2);  // without looping the current row counts
    grid.RowVisible(4, false);
    EXPECT_EQ(grid.FindSearchMatchRow(L"AB"), 1);
    EXPECT_EQ(grid.FindSearchMatchRow(L"AB", true, false), 4);
    EXPECT_EQ(grid.FindSearchMatchRow(L"ABCD"), 0);  // longer than every value
    EXPECT_EQ(grid.FindSearchMatchRow(L"12"), 3);    // numbers are searched as their text
    // The omitted text: the missing marker, which is skipped.
    grid.CellDetails(2, 2);
    EXPECT_EQ(grid.FindSearchMatchRow(L"E"), 0);
}

}  // namespace
}  // namespace ferryl::test
