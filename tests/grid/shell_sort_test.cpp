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
using Texts = std::vector<std::wstring>;

// A grid's two tables built from rows of cell values; each row's key names its original position.
struct Tables {
    tGridCellTable cells{{}};
    tGridRowTable rows{tGridRow{}};

    void Add(std::vector<TaggedValue> values) {
        std::vector<tGridCell> row(values.size());
        for (size_t c = 0; c < values.size(); ++c)
            row[c].vText = std::move(values[c]);
        cells.push_back(std::move(row));
        rows.push_back(tGridRow{});
        rows.back().sKey = L"r" + std::to_wstring(rows.size() - 1);
    }
    // The cell texts of one column, or the row keys (column 0), top to bottom.
    Texts Column(size_t column) const {
        Texts texts;
        for (size_t r = 1; r < cells.size(); ++r)
            texts.push_back(column ? cells[r][column - 1].vText.ToText() : rows[r].sKey);
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

// One key over one column; the value goes into the field the type compares.
TEST(ShellSort, EachTypeOrdersByItsOwnRule) {
    const TaggedValue date2023 = DateValue(2023, 6, 1), date2022 = DateValue(2022, 1, 1);
    const struct {
        const char* rule;
        long type;
        long order;
        std::vector<TaggedValue> values;
        Texts keys;
    } cases[] = {
        {"binary text: upper case first", Sort::eSortString, 1, {L"b", L"a", L"A"}, {L"r3", L"r2", L"r1"}},
        {"no case: equal texts stay", Sort::eSortStringNoCase, 1, {L"b", L"a", L"A"}, {L"r2", L"r3", L"r1"}},
        {"numbers by value", Sort::eSortNumeric, 1, {10.0, 9.0, 100.0}, {L"r2", L"r1", L"r3"}},
        {"numeric texts are numbers", Sort::eSortNumeric, 2, {L"10", L"9", L"100"}, {L"r3", L"r1", L"r2"}},
        {"numeric texts as text", Sort::eSortString, 1, {L"10", L"9", L"100"}, {L"r1", L"r3", L"r2"}},
        // The difference is compared as a number, whatever the locale's decimal separator.
        {"fractions, empty as zero",
         Sort::eSortNumeric,
         1,
         {1.5, 1.25, TaggedValue(), -0.5, 1.75},
         {L"r4", L"r3", L"r2", L"r1", L"r5"}},
        {"missing as empty text", Sort::eSortString, 1, {L"a", TaggedValue::Missing(), L""}, {L"r2", L"r3", L"r1"}},
        {"system colours below RGB, no overflow",
         Sort::eSortBackColor,
         1,
         {double{0xFFFFFF}, double{0x80000005}, 0.0, double{0x8000000F}},
         {L"r2", L"r4", L"r3", L"r1"}},
        {"icons by index", Sort::eSortIcon, 1, {2.0, -1.0, 0.0}, {L"r2", L"r3", L"r1"}},
        {"selected last", Sort::eSortSelected, 1, {1.0, 0.0, 1.0, 0.0}, {L"r2", L"r4", L"r1", L"r3"}},
        {"two equal rows swap", Sort::eSortString, 1, {L"same", L"same"}, {L"r2", L"r1"}},
        {"any order but 1 descends", Sort::eSortNumeric, 0, {1.0, 3.0, 2.0}, {L"r2", L"r3", L"r1"}},
        {"an unknown type moves each row before the others", 999, 1, {L"c", L"a", L"b"}, {L"r3", L"r2", L"r1"}},
        // Text that reads as a date is one.
        {"non-dates first ascending",
         Sort::eSortDateYearAccuracy,
         1,
         {date2023, L"no date", L"5/3/2021", date2022},
         {L"r2", L"r3", L"r4", L"r1"}},
        {"and last in order 2",
         Sort::eSortDateYearAccuracy,
         2,
         {date2023, L"no date", L"5/3/2021", date2022},
         {L"r1", L"r4", L"r3", L"r2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
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
        EXPECT_EQ(t.Column(0), c.keys);
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
    EXPECT_EQ(t.Column(2), (Texts{L"z", L"a", L"a", L"b"}));
    EXPECT_EQ(t.Column(3), (Texts{L"3", L"5", L"2", L"1"}));
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
    for (const auto& row : {Texts{L"3", L"x"}, Texts{L"1", L"y"}, Texts{L"abc", L"z"}, Texts{L"2", L"w"}})
        t.Add({TaggedValue(row[0]), TaggedValue(row[1])});
    // Text that is no number; a column outside the table; and a key whose column was never set (key 1
    // exists because key 2 was set).
    Sort unset;
    unset.SortColumn(2, 1);
    for (Sort s : {Keys({{1, Sort::eSortNumeric, 1}}), Keys({{3, Sort::eSortString, 1}}), unset}) {
        EXPECT_THROW(s.SortRows(t.cells, t.rows), Error);
        EXPECT_EQ(t.Column(0), (Texts{L"r1", L"r2", L"r3", L"r4"}));
        EXPECT_EQ(t.Column(1), (Texts{L"3", L"1", L"abc", L"2"}));
    }
    Sort().SortRows(t.cells, t.rows);
    EXPECT_EQ(t.Column(0), (Texts{L"r1", L"r2", L"r3", L"r4"})) << "no key: nothing moves";
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
