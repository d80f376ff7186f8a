// The sort object's comparisons and keys on plain tables (the order of equal rows is tested in
// tests/core), and MoskGrid::Sort on the window's grid: the current row and the row records follow
// their data.

#include "grid/shell_sort.h"

#include <string>
#include <tuple>
#include <vector>

#include "common/error.h"
#include "grid_fixture.h"
#include "support/dates.h"

namespace ferryl::test {
namespace {

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
                 {"system colours (0x8...) first",
                  Sort::eSortBackColor,
                  1,
                  {16777215.0, 2147483653.0, 0.0, 2147483663.0},
                  L"2431"},
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
        EXPECT_THROW(sort.SortColumn(index, 1), Error);
        EXPECT_THROW(sort.SortOrder(index, 1), Error);
        EXPECT_THROW(sort.SortType(index, 102), Error);
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
