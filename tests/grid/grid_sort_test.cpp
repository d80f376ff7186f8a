// MoskGrid::Sort: the order of the grid's shell sort on the documented examples and on random data
// against a plain whole-row rendering of the same sort, and the current row following its data.

#include <random>

#include "grid/shell_sort.h"
#include "grid_fixture.h"

namespace ferryl::test {
namespace {

using SortObj = cShellSortTGridCells;

class GridSortTest : public GridTest {
protected:
    // One key: cell column, type, order.
    void SortBy(short column, long type, long order, short index = 1) {
        grid.SortObject().SortColumn(index, column);
        grid.SortObject().SortType(index, type);
        grid.SortObject().SortOrder(index, order);
    }
    void Fill(long column, const std::vector<TaggedValue>& values) {
        for (size_t i = 0; i < values.size(); ++i)
            grid.CellDetails(static_cast<long>(i + 1), column, values[i]);
    }
};

TEST_F(GridSortTest, TextNumberAndTwoKeyExamples) {
    AddColumns(2);
    Fill(1, {L"b", L"A", L"a"});
    SortBy(1, SortObj::eSortString, SortObj::eSortAscending);
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"A,a,b");

    Fill(1, {L"b", L"A", L"a"});
    SortBy(1, SortObj::eSortStringNoCase, SortObj::eSortAscending);
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"A,a,b");  // A and a are equal and keep their order

    Fill(1, {10.0, 9.0, 100.0});
    SortBy(1, SortObj::eSortNumeric, SortObj::eSortAscending);
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"9,10,100");
    Fill(1, {L"10", L"9", L"100"});
    SortBy(1, SortObj::eSortString, SortObj::eSortAscending);
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"10,100,9");

    grid.Clear();
    Fill(1, {L"x", L"y", L"x", L"y", L"x"});
    Fill(2, {1.0, 2.0, 3.0, 4.0, 5.0});
    SortBy(1, SortObj::eSortString, SortObj::eSortAscending, 1);
    SortBy(2, SortObj::eSortNumeric, SortObj::eSortDescending, 2);
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"x,x,x,y,y");
    EXPECT_EQ(ColumnTexts(2), L"5,3,1,4,2");
}

TEST_F(GridSortTest, TwoEqualRowsAreExchangedAndThreeKeepTheirOrder) {
    AddColumns(2);
    Fill(1, {L"same", L"same"});
    Fill(2, {L"first", L"second"});
    SortBy(1, SortObj::eSortString, SortObj::eSortAscending);
    grid.Sort();
    EXPECT_EQ(ColumnTexts(2), L"second,first");

    grid.Clear();
    Fill(1, {L"same", L"same", L"same"});
    Fill(2, {L"first", L"second", L"third"});
    grid.Sort();
    EXPECT_EQ(ColumnTexts(2), L"first,second,third");
}

TEST_F(GridSortTest, WithoutASortKeyNothingChangesNotEvenTheSelection) {
    AddColumns(2);
    Fill(1, {L"c", L"a", L"b"});
    grid.Sort();  // no sort object yet
    EXPECT_EQ(grid.SelectedRow(), 0);
    EXPECT_EQ(grid.SelectedCol(), 0);
    grid.CellSelected(3, 2, true);
    grid.SortObject().Clear();
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"c,a,b");
    EXPECT_EQ(grid.SelectedRow(), 3);
    EXPECT_EQ(grid.SelectedCol(), 2);
    EXPECT_TRUE(grid.CellSelected(3, 2));
    EXPECT_FALSE(grid.CellSelected(1, 1));
}

TEST_F(GridSortTest, TheCurrentRowFollowsItsDataAndNoSelectionGivesRowOne) {
    AddColumns(2);
    Fill(1, {L"d", L"b", L"e", L"a", L"c"});
    grid.AddRow(-1, L"key of f");
    grid.CellText(6, 1, TaggedValue(L"f"));
    grid.RowHeight(3, 45);
    SortBy(1, SortObj::eSortString, SortObj::eSortDescending);
    grid.Sort();
    EXPECT_EQ(grid.SelectedRow(), 1);
    EXPECT_EQ(grid.SelectedCol(), 1);

    grid.CellSelected(5, 2, true);  // "b" after the first sort
    ASSERT_EQ(grid.CellText(5, 1).ToText(), L"b");
    SortBy(1, SortObj::eSortString, SortObj::eSortAscending);
    grid.Sort();
    EXPECT_EQ(ColumnTexts(1), L"a,b,c,d,e,f");
    EXPECT_EQ(grid.SelectedRow(), 2);
    EXPECT_EQ(grid.SelectedCol(), 2);
    EXPECT_TRUE(grid.CellSelected(2, 2));
    EXPECT_EQ(grid.RowTable()[6].sKey, L"key of f");
    // Row records travel with their cells, and the start positions are laid again.
    EXPECT_EQ(grid.RowHeight(5), 45);
    EXPECT_EQ(grid.RowTable()[6].lStartY, 20 * 4 + 45);
    for (const auto& row : grid.RowTable())
        EXPECT_NE(row.sKey, L"!SELECTEDROW!");
}

// The shell sort exactly as documented, moving whole rows through a buffer, with the text (102)
// and value (200) comparisons on one key.
std::vector<std::vector<tGridCell>> ReferenceSort(std::vector<std::vector<tGridCell>> rows, size_t column,
                                                  long type, bool ascending) {
    auto inOrder = [&](const tGridCell& b, const tGridCell& a) {
        if (type == 102) {
            int s = b.vText.ToText().compare(a.vText.ToText());
            s = s < 0 ? -1 : s > 0 ? 1 : 0;
            return ascending ? s >= 0 : s <= 0;
        }
        auto order = Compare(b.vText, a.vText);
        if (order == std::strong_ordering::equal)
            return true;
        return ascending ? order > 0 : order < 0;
    };
    size_t count = rows.size() - 1;
    if (count < 3) {
        if (count == 2 && inOrder(rows[1][column], rows[2][column]))
            std::swap(rows[1], rows[2]);
        return rows;
    }
    size_t gap = 1;
    while (gap * 3 + 1 < count)
        gap = gap * 3 + 1;
    for (; gap >= 1; gap = (gap - 1) / 3) {
        for (size_t i = gap + 1; i <= count; ++i) {
            std::vector<tGridCell> buffer = rows[i];
            size_t j = i;
            while (j > gap && !inOrder(buffer[column], rows[j - gap][column])) {
                rows[j] = rows[j - gap];
                j -= gap;
            }
            rows[j] = buffer;
        }
        if (gap == 1)
            break;
    }
    return rows;
}

TEST_F(GridSortTest, RandomDataSortsAsTheReferenceShellSort) {
    AddColumns(2);
    grid.Redraw(false);
    std::mt19937 random(2024);
    for (int round = 0; round < 12; ++round) {
        grid.Clear();
        long count = static_cast<long>(random() % 60) + 1;
        for (long r = 1; r <= count; ++r) {
            // Few distinct keys, so that equal keys are common; column 2 tells the rows apart.
            grid.CellDetails(r, 1, round % 2 ? TaggedValue(static_cast<double>(random() % 5))
                                             : TaggedValue(std::wstring(1, static_cast<wchar_t>(L'a' + random() % 4))));
            grid.CellDetails(r, 2, TaggedValue(static_cast<double>(r)));
        }
        long type = round % 2 ? 200 : 102;
        bool ascending = round % 4 < 2;
        auto expected = ReferenceSort(std::vector<std::vector<tGridCell>>(grid.CellTable().begin(), grid.CellTable().end()), 0, type, ascending);
        SortBy(1, type, ascending ? 1 : 2);
        grid.Sort();
        for (long r = 1; r <= count; ++r) {
            ASSERT_TRUE(grid.CellText(r, 2).Identical(expected[static_cast<size_t>(r)][1].vText))
                << "round " << round << ", row " << r << " of " << count;
        }
    }
}

}  // namespace
}  // namespace ferryl::test
