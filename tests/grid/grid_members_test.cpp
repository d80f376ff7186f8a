// The grid's members without the screen. What MoskGrid adds to its model (tested natively in
// tests/core): the calls it refuses, leaving everything as it was; column keys; cells that keep to
// their columns; blank and grown cells; rows added whole; the format object; shared fonts; formatted
// text; what the key search matches. The events with what the owner answers, and the property store.

#include <sstream>

#include "common/text.h"
#include "grid/grid_property_store.h"
#include "grid_fixture.h"
#include "support/dates.h"

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
    const std::function<void()> refused[] = {
        [&] { grid.Rows(0); },
        [&] { grid.RowHeight(6, 10); },
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
        [&] { grid.AddRowWithCells(std::vector<MoskGrid::tRowCell>(5, {TaggedValue(L"x")})); }};
    for (size_t i = 0; i < std::size(refused); ++i)
        EXPECT_EQ(GridErrorNumber(refused[i]), 9) << i;
    EXPECT_EQ(GridErrorNumber([&] { grid.AddColumn(L"Name"); }), 457);
    EXPECT_EQ(GridErrorNumber([&] { grid.ColumnKey(4, L"Name"); }), 457);
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

TEST_F(GridTest, AFormatObjectWritesThroughWhileAttachedAndFontsAreShared) {
    AddColumns(2);
    grid.Rows(2);
    grid.CellDetails(1, 2, TaggedValue(L"text"), 0x20, 3);
    cGridCell cell = grid.Cell(1, 2);
    EXPECT_EQ(cell.Text().ToText() + std::to_wstring(cell.IconIndex()), L"text3");
    cell.Text(TaggedValue(L"changed"));
    cell.Font(std::make_shared<GridFont>(L"Arial", 10.0, true));
    EXPECT_EQ(grid.CellText(1, 2).ToText(), L"changed");
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
    // Equal fonts share one entry, which keeps a copy of its own; names compare exactly.
    GridFont arial(L"Arial", 10.0, true);
    grid.CellFont(2, 2, arial);
    grid.CellFont(1, 1, GridFont(L"arial", 10.0, true));
    EXPECT_EQ(grid.FontList().Count(), 2);
    arial.Name = L"Courier New";
    EXPECT_EQ(grid.CellFont(2, 2)->Name, L"Arial");
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

TEST_F(GridTest, SelectionChangeTellsOfMovesOnlyAndTheOwnersAnswerToAnEditRequestStands) {
    AddColumns(2);
    grid.Rows(3);
    grid.CellSelected(2, 1, true);
    grid.CellSelected(2, 1, false);  // single selection: the same cell stays current, no event
    grid.CellSelected(3, 2, true);
    EXPECT_EQ(listener.selections, (std::vector<std::pair<long, long>>{{2, 1}, {3, 2}}));
    grid.GridLines(true);
    grid.KeySearchColumn(1);  // not stored: no notice
    EXPECT_EQ(listener.changed, (std::vector<std::wstring>{L"GridLines"})) << "stored properties tell the container";

    // The owner's answer to RequestEdit becomes the edit state, which CancelEdit ends.
    grid.Editable(true);
    grid.RequestCellEdit();
    EXPECT_EQ(listener.edits, (std::vector<std::pair<long, long>>{{3, 2}}));
    EXPECT_TRUE(grid.InEdit());
    grid.CancelEdit();
    listener.keepEditing = false;
    grid.RequestCellEdit();
    grid.CancelEdit();
    EXPECT_EQ(listener.cancels, 1) << "only an edit under way is cancelled";
    EXPECT_FALSE(grid.InEdit());
}

TEST_F(GridTest, EverySettingReadBackIsWrittenInTheTableOrderAndDefaultsAreLeftOut) {
    GridPropertyStore defaults;
    grid.InitProperties(GridFont(L"MS Sans Serif", 8.0));
    grid.WriteProperties(defaults);
    // The picture sizes always, and the font, which is always a new object.
    EXPECT_EQ(defaults.Keys(),
              (std::vector<std::wstring>{L"BackgroundPictureHeight", L"BackgroundPictureWidth", L"Font"}));
    // Every setting away from its default, as a host's store holds it, in the table order.
    std::wistringstream keys(
        L"MultiSelect,RowMode,GridLines,BackgroundPicture,BackgroundPictureHeight,BackgroundPictureWidth,BackColor,"
        L"ForeColor,GridLineColor,HighlightBackColor,HighlightForeColor,Font,Header,HeaderButtons,"
        L"HeaderDragReorderColumns,HeaderHotTrack,HeaderHeight,HeaderFlat,BorderStyle,ScrollBarStyle,Editable,Enabled,"
        L"DisableIcons,HighlightSelectedIcons,DrawFocusRectangle,Virtual,DefaultRowHeight");
    const ObjectRef picture = std::make_shared<Object>(), font = std::make_shared<GridFont>(L"MS Sans Serif", 8.25);
    const TaggedValue values[] = {true,     true,     true, picture, 3,     4,     0x010203, 0x040506, 0x070809,
                                  0x0A0B0C, 0x0D0E0F, font, false,   false, false, false,    25,       true,
                                  2,        1,        true, false,   true,  false, false,    true,     18};
    GridPropertyStore store, again;
    for (auto [key, value] = std::pair(std::wstring(), std::begin(values)); std::getline(keys, key, L',');)
        store.WriteProperty(key, *value++);
    grid.ReadProperties(store);
    grid.WriteProperties(again);
    ASSERT_EQ(again.Keys(), store.Keys());
    for (const std::wstring& key : store.Keys()) {
        const TaggedValue value = store.ReadProperty(key);
        EXPECT_TRUE(value.IsObject() || value.Identical(again.ReadProperty(key))) << ToAnsi(key);
    }
    EXPECT_EQ(grid.Font()->Size, 8.25);
    EXPECT_EQ(grid.BackgroundPicture(), picture);
    EXPECT_FALSE(grid.HeaderDragReOrderColumns()) << "the key with a lower-case r, as stored";
    // The window stays enabled so that the disabled grid can still scroll with its keys and bars.
    EXPECT_TRUE(::IsWindowEnabled(grid.hwnd()));
}

}  // namespace
}  // namespace ferryl::test
