#include "grid/shell_sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/error.h"
#include "support/dates.h"

namespace ferryl {
namespace {

using Sort = cShellSortTGridCells;

// A grid's two tables built from rows of cell values; each row's key names its original position.
struct Tables {
    tGridCellTable cells{{}};
    tGridRowTable rows{tGridRow{}};

    void Add(std::vector<TaggedValue> values) {
        std::vector<tGridCell> row(values.size());
        for (size_t c = 0; c < values.size(); ++c)
            row[c].vText = std::move(values[c]);
        cells.push_back(std::move(row));
        tGridRow record;
        record.sKey = L"r" + std::to_wstring(rows.size());
        record.lHeight = static_cast<long>(rows.size());
        rows.push_back(std::move(record));
    }

    // The cell texts of one column, top to bottom.
    std::vector<std::wstring> Column(size_t column) const {
        std::vector<std::wstring> texts;
        for (size_t r = 1; r < cells.size(); ++r)
            texts.push_back(cells[r][column - 1].vText.ToText());
        return texts;
    }

    std::vector<std::wstring> Keys() const {
        std::vector<std::wstring> keys;
        for (size_t r = 1; r < rows.size(); ++r)
            keys.push_back(rows[r].sKey);
        return keys;
    }
};

Sort OneKey(short column, long type, long order = Sort::eSortAscending) {
    Sort sort;
    sort.SortColumn(1, column);
    sort.SortType(1, type);
    sort.SortOrder(1, order);
    return sort;
}

using Texts = std::vector<std::wstring>;

TEST(ShellSortSettings, IndexOutsideOneToEightIsRefusedByEveryAccessor) {
    Sort sort;
    for (short index : {short{0}, short{9}, short{-1}}) {
        try {
            sort.SortColumn(index, 1);
            ADD_FAILURE() << "index " << index << " accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), static_cast<long>(0x80040419));
            EXPECT_EQ(e.Description(), L"Invalid sort array index.");
            EXPECT_EQ(e.Source(), ErrorSource(L"cShellSort"));
        }
        EXPECT_THROW(sort.SortOrder(index, 1), Error);
        EXPECT_THROW(sort.SortType(index, 102), Error);
        EXPECT_THROW(sort.SortColumn(index), Error);
        EXPECT_THROW(sort.SortOrder(index), Error);
        EXPECT_THROW(sort.SortType(index), Error);
    }
}

TEST(ShellSortSettings, SettingAHigherIndexGrowsTheKeysKeepingEarlierOnes) {
    Sort sort;
    sort.SortColumn(1, 4);
    sort.SortType(3, 250);
    EXPECT_EQ(sort.SortColumn(1), 4);
    EXPECT_EQ(sort.SortType(3), 250);
    // Index 2 came into being with index 3 and starts at zero.
    EXPECT_EQ(sort.SortColumn(2), 0);
    EXPECT_EQ(sort.SortOrder(2), 0);
    // Reading an index never set reads zero and does not add a key.
    EXPECT_EQ(sort.SortOrder(8), 0);
    sort.LastSortIndex(7);
    sort.Clear();
    EXPECT_EQ(sort.SortColumn(1), 0);
    EXPECT_EQ(sort.SortType(3), 0);
    EXPECT_EQ(sort.LastSortIndex(), 7);  // not one of the keys
}

// One key over one column; the value goes into the field the type compares.
TEST(ShellSort, EachTypeOrdersByItsOwnRule) {
    struct Case {
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
        // The difference is compared as a number: 0.25 apart is not equal, whatever the locale's
        // decimal separator.
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        Tables t;
        for (const TaggedValue& value : c.values) {
            t.Add({value});
            tGridCell& cell = t.cells.back()[0];
            auto number = [&] { return static_cast<long>(static_cast<long long>(value.ToNumber())); };
            if (c.type == Sort::eSortBackColor)
                cell.lBackColor = number();
            else if (c.type == Sort::eSortIcon)
                cell.lIconIndex = number();
            else if (c.type == Sort::eSortSelected)
                cell.bSelected = number() != 0;
        }
        OneKey(1, c.type, c.order).SortRows(t.cells, t.rows);
        EXPECT_EQ(t.Keys(), c.keys);
    }
}

TEST(ShellSort, DayAccuracyTreatsTimesOfOneDayAsEqualSoTheNextKeyDecides) {
    Tables t;
    t.Add({test::DateValue(2024, 3, 5, 18, 0), L"b"});
    t.Add({test::DateValue(2024, 3, 5, 9, 30), L"a"});
    t.Add({test::DateValue(2024, 3, 4, 23, 59), L"z"});
    Sort sort = OneKey(1, Sort::eSortDateDayAccuracy);
    sort.SortColumn(2, 2);
    sort.SortType(2, Sort::eSortString);
    sort.SortOrder(2, Sort::eSortAscending);
    sort.SortRows(t.cells, t.rows);
    EXPECT_EQ(t.Column(2), (Texts{L"z", L"a", L"b"}));
}

TEST(ShellSort, NonDatesComeFirstAscendingAndLastInOrderTwo) {
    Tables t;
    t.Add({test::DateValue(2023, 6, 1)});
    t.Add({L"not a date"});
    t.Add({L"5/3/2021"});  // text that reads as a date
    t.Add({test::DateValue(2022, 1, 1)});
    Tables descending = t;
    OneKey(1, Sort::eSortDateYearAccuracy).SortRows(t.cells, t.rows);
    EXPECT_EQ(t.Keys(), (Texts{L"r2", L"r3", L"r4", L"r1"}));
    OneKey(1, Sort::eSortDateYearAccuracy, Sort::eSortDescending).SortRows(descending.cells, descending.rows);
    EXPECT_EQ(descending.Keys(), (Texts{L"r1", L"r4", L"r3", L"r2"}));
}

TEST(ShellSort, SecondKeyOrdersRowsTheFirstKeyFindsEqual) {
    Tables t;
    t.Add({L"b", 1.0});
    t.Add({L"a", 2.0});
    t.Add({L"b", 3.0});
    t.Add({L"a", 5.0});
    t.Add({L"b", 2.0});
    Sort sort = OneKey(1, Sort::eSortString);
    sort.SortColumn(2, 2);
    sort.SortType(2, Sort::eSortNumeric);
    sort.SortOrder(2, Sort::eSortDescending);
    sort.SortRows(t.cells, t.rows);
    EXPECT_EQ(t.Column(1), (Texts{L"a", L"a", L"b", L"b", L"b"}));
    EXPECT_EQ(t.Column(2), (Texts{L"5", L"2", L"3", L"2", L"1"}));
}

TEST(ShellSort, FailuresLeaveBothTablesAsTheyWere) {
    Tables t;
    t.Add({L"3", L"x"});
    t.Add({L"1", L"y"});
    t.Add({L"abc", L"z"});
    t.Add({L"2", L"w"});
    const Texts before = t.Keys();

    try {
        OneKey(1, Sort::eSortNumeric).SortRows(t.cells, t.rows);
        ADD_FAILURE() << "text that is no number was subtracted";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), kErrTypeMismatch);
    }
    EXPECT_EQ(t.Keys(), before);
    EXPECT_EQ(t.Column(1), (Texts{L"3", L"1", L"abc", L"2"}));

    for (short column : {short{0}, short{3}}) {
        try {
            OneKey(column, Sort::eSortString).SortRows(t.cells, t.rows);
            ADD_FAILURE() << "column " << column << " accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), kErrSubscriptOutOfRange);
        }
    }
    // A key whose column was never set (index 1 exists because index 2 was set) has column 0.
    Sort unset;
    unset.SortColumn(2, 1);
    EXPECT_THROW(unset.SortRows(t.cells, t.rows), Error);
    EXPECT_EQ(t.Keys(), before);
}

TEST(ShellSort, NoKeyOrUnknownTypeAndTinyTables) {
    Tables t;
    for (auto text : {L"c", L"a", L"b"})
        t.Add({text});
    Sort none;
    none.SortRows(t.cells, t.rows);
    EXPECT_EQ(t.Keys(), (Texts{L"r1", L"r2", L"r3"}));  // no key: nothing to sort by, nothing moves

    // An unknown type reports "not in order" for every pair: each row is moved in front of the rows
    // before it, which reverses three rows.
    OneKey(1, 999).SortRows(t.cells, t.rows);
    EXPECT_EQ(t.Keys(), (Texts{L"r3", L"r2", L"r1"}));

    Tables one;
    one.Add({L"abc"});
    OneKey(1, Sort::eSortNumeric).SortRows(one.cells, one.rows);  // nothing compared, nothing raised
    EXPECT_EQ(one.Keys(), (Texts{L"r1"}));
    Tables empty;
    OneKey(1, Sort::eSortNumeric).SortRows(empty.cells, empty.rows);
    EXPECT_EQ(empty.rows.size(), 1u);
}

}  // namespace
}  // namespace ferryl
