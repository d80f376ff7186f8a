// The grid's members without the screen, where MoskGrid adds to its model (tested in tests/core):
// the calls it refuses, column keys, cells that keep to their columns, rows added whole, the format
// and accessible objects outliving the grid, formatted text, the key search's match, the events of
// changes; and the sort's comparisons and keys, and the grid sorted.

#include <tuple>

#include "grid/shell_sort.h"
#include "paint_fixture.h"
#include "support/accessibility.h"
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

TEST_F(GridTest, AFormatObjectWritesThroughWhileAttachedAndItAndTheAccessibleObjectLetGoWhenTheGridGoes) {
    AddColumns(2);
    grid.Rows(2);
    grid.CellDetails(1, 2, TaggedValue(L"text"), 0x20, 3);
    cGridCell cell = grid.Cell(1, 2);
    EXPECT_EQ(cell.Text().ToText() + std::to_wstring(cell.IconIndex()), L"text3");
    cell.Text(TaggedValue(L"changed"));
    EXPECT_EQ(grid.CellText(1, 2).ToText(), L"changed");
    cGridCell fresh = grid.NewCellFormatObject();
    fresh.Text(TaggedValue(L"handed over"));
    grid.Cell(2, 1, fresh);
    EXPECT_EQ(grid.CellText(2, 1).ToText(), L"handed over");
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
    grid.CellDetails(4, 3);  // the omitted text: the missing marker, which is skipped, as "Error ..."
    EXPECT_EQ(grid.FindSearchMatchRow(L"E"), 0);
}

TEST_F(GridTest, SelectionChangeTellsOfMovesOnlyAndStoredPropertiesTellTheContainer) {
    AddColumns(2);
    grid.Rows(3);
    grid.CellSelected(2, 1, true);
    grid.CellSelected(2, 1, false);  // single selection: the same cell stays current, no event
    grid.CellSelected(3, 2, true);
    EXPECT_EQ(listener.selections, (std::vector<std::pair<long, long>>{{2, 1}, {3, 2}}));
    grid.GridLines(true);
    grid.KeySearchColumn(1);  // not stored: no notice
    EXPECT_EQ(listener.changed, (std::vector<std::wstring>{L"GridLines"})) << "stored properties tell the container";
}

using Sort = cShellSortTGridCells;

// A grid's two tables built from rows of cell values; each row's key is its original position.
struct Tables {
    tGridCellTable cells{{}};
    tGridRowTable rows{tGridRow{}};

    void Add(std::vector<TaggedValue> values) {
        std::vector<tGridCell> row(values.size());
        for (size_t c = 0; c < values.size(); ++c)
            row[c].vText = std::move(values[c]);
        cells.push_back(std::move(row));
        rows.push_back(tGridRow{});
        rows.back().sKey = std::to_wstring(rows.size() - 1);
    }
    // The cell texts of one column, or the row keys (column 0), top to bottom, joined.
    std::wstring Column(size_t column) const {
        std::wstring texts;
        for (size_t r = 1; r < cells.size(); ++r)
            texts += (column ? cells[r][column - 1].vText.ToText() : rows[r].sKey) + (column ? L"," : L"");
        return texts;
    }
};

Sort Keys(std::vector<std::tuple<short, long, long>> keys) {
    Sort sort;
    for (short i = 1; const auto& [column, type, order] : keys) {
        sort.SortColumn(i, column);
        sort.SortType(i, type);
        sort.SortOrder(i++, order);
    }
    return sort;
}

// One key over one column; the value goes into the field the type compares. The rows end in the
// order of their original positions given.
TEST(ShellSort, EachTypeOrdersByItsOwnRule) {
    const TaggedValue y2023 = DateValue(2023, 6, 1), y2022 = DateValue(2022, 1, 1);
    const struct {
        const char* rule;
        long type, order;
        std::vector<TaggedValue> values;
        const wchar_t* rows;
    } cases[] = {{"binary: upper case first", Sort::eSortString, 1, {L"b", L"a", L"A"}, L"321"},
                 {"no case: equal stay", Sort::eSortStringNoCase, 1, {L"b", L"a", L"A"}, L"231"},
                 {"numbers", Sort::eSortNumeric, 1, {10.0, 9.0, 100.0}, L"213"},
                 {"numeric texts", Sort::eSortNumeric, 2, {L"10", L"9", L"100"}, L"312"},
                 {"numeric texts as text", Sort::eSortString, 1, {L"10", L"9", L"100"}, L"132"},
                 // The difference is compared as a number, whatever the locale's decimal separator.
                 {"fractions, empty 0", Sort::eSortNumeric, 1, {1.5, 1.25, TaggedValue(), -0.5, 1.75}, L"43215"},
                 {"missing as empty", Sort::eSortString, 1, {L"a", TaggedValue::Missing(), L""}, L"231"},
                 {"system colours first", 401, 1, {16777215.0, 2147483653.0, 0.0, 2147483663.0}, L"2431"},
                 {"icons", Sort::eSortIcon, 1, {2.0, -1.0, 0.0}, L"231"},
                 {"selected last", Sort::eSortSelected, 1, {1.0, 0.0, 1.0, 0.0}, L"2413"},
                 {"two equal rows swap", Sort::eSortString, 1, {L"same", L"same"}, L"21"},
                 {"any order but 1 descends", Sort::eSortNumeric, 0, {1.0, 3.0, 2.0}, L"231"},
                 {"unknown type: all moved", 999, 1, {L"c", L"a", L"b"}, L"321"},
                 // Text that reads as a date is one; what is none comes first ascending, last in order 2.
                 {"non-dates first", Sort::eSortDateYearAccuracy, 1, {y2023, L"no date", L"5/3/2021", y2022}, L"2341"},
                 {"non-dates last", Sort::eSortDateYearAccuracy, 2, {y2023, L"no date", L"5/3/2021", y2022}, L"1432"}};
    for (const auto& c : cases) {
        Tables t;
        for (const TaggedValue& value : c.values) {
            t.Add({value});
            tGridCell& cell = t.cells.back()[0];
            if (c.type == Sort::eSortBackColor)
                cell.lBackColor = static_cast<long>(static_cast<long long>(value.ToNumber()));
            else if (c.type == Sort::eSortIcon)
                cell.lIconIndex = static_cast<long>(value.ToNumber());
            else if (c.type == Sort::eSortSelected)
                cell.bSelected = value.ToNumber() != 0;
        }
        Keys({{1, c.type, c.order}}).SortRows(t.cells, t.rows);
        EXPECT_EQ(t.Column(0), c.rows) << c.rule;
    }
}

TEST(ShellSort, ALaterKeyOrdersRowsTheEarlierFindEqualDayAccuracyIncluded) {
    Tables t;
    for (const auto& [when, text, number] : {std::tuple{DateValue(2024, 3, 5, 18, 0), L"b", 1.0},
                                             {DateValue(2024, 3, 5, 9, 30), L"a", 2.0},
                                             {DateValue(2024, 3, 4, 23, 59), L"z", 3.0},
                                             {DateValue(2024, 3, 5, 9, 0), L"a", 5.0}})
        t.Add({when, text, number});
    Keys({{1, Sort::eSortDateDayAccuracy, 1}, {2, Sort::eSortString, 1}, {3, Sort::eSortNumeric, 2}})
        .SortRows(t.cells, t.rows);
    EXPECT_EQ(t.Column(0), L"3421");
}

TEST(ShellSort, BadIndexesColumnsAndValuesAreRefusedAndLeaveBothTablesAsTheyWere) {
    Sort sort;
    for (short index : {short{0}, short{9}}) {
        EXPECT_THROW(sort.SortOrder(index, 1), Error);
        EXPECT_THROW((void)sort.SortType(index), Error);
    }
    Tables t;
    for (const wchar_t* text : {L"3", L"1", L"abc", L"2"})
        t.Add({TaggedValue(text)});
    // Text that is no number; a column outside the table; and a key whose column was never set (key 1
    // exists because key 2 was set).
    Sort unset;
    unset.SortColumn(2, 1);
    for (Sort s : {Keys({{1, Sort::eSortNumeric, 1}}), Keys({{2, Sort::eSortString, 1}}), unset}) {
        EXPECT_THROW(s.SortRows(t.cells, t.rows), Error);
        EXPECT_EQ(t.Column(0) + t.Column(1), L"12343,1,abc,2,");
    }
    Sort().SortRows(t.cells, t.rows);
    EXPECT_EQ(t.Column(0), L"1234") << "no key: nothing moves";
}

TEST_F(GridTest, SortingTheGridTheCurrentRowAndTheRowRecordsFollowTheirData) {
    AddColumns(2);
    for (long r = 1; const wchar_t* text : {L"d", L"b", L"e", L"a", L"c"})
        grid.CellDetails(r++, 1, TaggedValue(text));
    grid.Sort();  // no sort object yet: nothing moves, nothing is selected
    EXPECT_EQ(ColumnTexts(1) + std::to_wstring(grid.SelectedRow()), L"d,b,e,a,c0");
    grid.AddRow(-1, L"key of f");
    grid.CellText(6, 1, TaggedValue(L"f"));
    grid.RowHeight(3, 45);
    grid.SortObject().SortColumn(1, 1);
    grid.SortObject().SortType(1, Sort::eSortString);
    grid.SortObject().SortOrder(1, Sort::eSortDescending);
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"f,e,d,c,b,a");
    EXPECT_EQ(std::pair(grid.SelectedRow(), grid.SelectedCol()), std::pair(1L, 1L)) << "no selection: row 1";
    grid.CellSelected(5, 2, true);  // "b"
    grid.SortObject().SortOrder(1, Sort::eSortAscending);
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"a,b,c,d,e,f");
    EXPECT_EQ(std::pair(grid.SelectedRow(), grid.SelectedCol()), std::pair(2L, 2L));
    EXPECT_TRUE(grid.CellSelected(2, 2));
    EXPECT_EQ(grid.RowTable()[6].sKey, L"key of f");
    EXPECT_EQ(grid.RowHeight(5), 45) << "the row of \"e\"";
    EXPECT_EQ(grid.RowTable()[6].lStartY, 20 * 4 + 45);
    // Without a key nothing changes, not even the selection.
    grid.SortObject().Clear();
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"a,b,c,d,e,f");
    EXPECT_EQ(grid.RowsSelected(), std::vector<long>{2});
}

}  // namespace
}  // namespace ferryl::test
