// The sort against a plain rendering of the grid's shell sort that moves whole rows (cells and
// record through a one-row buffer) and compares with rules written out here again: on random data
// full of equal keys both must leave every row in the same place.

#include <gtest/gtest.h>

#include <cwctype>
#include <random>
#include <string>
#include <vector>

#include "grid/shell_sort.h"

namespace ferryl {
namespace {

using Sort = cShellSortTGridCells;

struct Key {
    short column;
    long type;
    long order;
};

int Sign(double d) {
    return d > 0 ? 1 : d < 0 ? -1 : 0;
}

std::wstring Lower(std::wstring text) {
    for (auto& ch : text)
        ch = static_cast<wchar_t>(std::towlower(ch));
    return text;
}

// equal / in-order of placed cell b against standing cell a; only the shapes of data made below.
std::pair<bool, bool> ReferenceCompareCell(const tGridCell& b, const tGridCell& a, const Key& key) {
    const bool asc = key.order == 1;
    auto bySign = [asc](int s) { return std::pair<bool, bool>{s == 0, asc ? s >= 0 : s <= 0}; };
    switch (key.type) {
        case 100:
            return bySign(Sign(b.vText.ToNumber() - a.vText.ToNumber()));
        case 102:
            return bySign(b.vText.ToText() < a.vText.ToText() ? -1 : b.vText.ToText() > a.vText.ToText() ? 1 : 0);
        case 103: {
            // Letters only in the data, so ignoring case is comparing lower case.
            std::wstring lb = Lower(b.vText.ToText()), la = Lower(a.vText.ToText());
            return bySign(lb < la ? -1 : lb > la ? 1 : 0);
        }
        case 252: {
            // Dates in the data are whole minutes from day 40000 on, or Empty.
            bool db = b.vText.kind() == TaggedValue::Kind::Date, da = a.vText.kind() == TaggedValue::Kind::Date;
            if (db && da) {
                double vb = b.vText.ToDate().value, va = a.vText.ToDate().value;
                if (static_cast<long>(vb) == static_cast<long>(va))
                    return {true, true};
                return {false, asc ? vb >= va : va >= vb};
            }
            if (!db && !da)
                return {true, true};
            return {false, db ? asc : key.order == 2};
        }
        case 300:
            return bySign(Sign(static_cast<double>(b.lIconIndex) - a.lIconIndex));
        case 401:
            return bySign(Sign(static_cast<double>(b.lBackColor) - a.lBackColor));
        case 600:
            return bySign((b.bSelected ? 1 : 0) - (a.bSelected ? 1 : 0));
        default:
            return {false, false};
    }
}

bool ReferenceCompareRow(const std::vector<tGridCell>& buffer, const std::vector<tGridCell>& row,
                         const std::vector<Key>& keys) {
    bool inOrder = false;
    for (const Key& key : keys) {
        auto [equal, order] = ReferenceCompareCell(buffer[key.column - 1], row[key.column - 1], key);
        inOrder = order;
        if (!equal)
            break;
    }
    return inOrder;
}

void ReferenceSort(tGridCellTable& cells, tGridRowTable& rows, const std::vector<Key>& keys) {
    const long count = static_cast<long>(rows.size()) - 1;
    if (count < 3) {
        if (count == 2 && ReferenceCompareRow(cells[1], cells[2], keys)) {
            std::swap(cells[1], cells[2]);
            std::swap(rows[1], rows[2]);
        }
        return;
    }
    long gap = 1;
    while (gap * 3 + 1 < count)
        gap = gap * 3 + 1;
    for (; gap >= 1; gap = (gap - 1) / 3) {
        for (long i = gap + 1; i <= count; ++i) {
            std::vector<tGridCell> buffer = cells[i];
            tGridRow record = rows[i];
            long j = i - gap;
            for (; j >= 1; j -= gap) {
                if (ReferenceCompareRow(buffer, cells[j], keys))
                    break;
                cells[j + gap] = cells[j];
                rows[j + gap] = rows[j];
            }
            cells[j + gap] = buffer;
            rows[j + gap] = record;
        }
    }
}

// Five columns: a small number (or numeric text), a letter pair, a date to the minute or nothing, a
// second letter pair; icon, back colour (system colours among them) and selection on every cell.
void MakeTables(std::mt19937& random, long count, tGridCellTable& cells, tGridRowTable& rows) {
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    cells = tGridCellTable(1);
    rows = tGridRowTable(1);
    const wchar_t* letters[] = {L"a", L"A", L"b", L"B", L"ab", L"Ab", L"ba"};
    for (long r = 1; r <= count; ++r) {
        std::vector<tGridCell> row(5);
        int n = pick(5) - 2;
        row[0].vText = pick(3) == 0 ? TaggedValue(std::to_wstring(n)) : TaggedValue(n * 0.5);
        row[1].vText = letters[pick(7)];
        row[2].vText = pick(4) == 0 ? TaggedValue() : TaggedValue(Date{40000 + pick(3) + pick(4) / 4.0});
        row[3].vText = letters[pick(3)];
        for (auto& cell : row) {
            cell.lIconIndex = pick(3) - 1;
            cell.lBackColor = pick(2) ? static_cast<long>(0x80000000u | static_cast<unsigned>(pick(3))) : pick(2) * 0xFFFFFF;
            cell.bSelected = pick(2) == 1;
            cell.lItemData = r;
        }
        cells.push_back(std::move(row));
        tGridRow record;
        record.sKey = std::to_wstring(r);
        record.lHeight = r;
        record.bVisible = pick(2) == 1;
        rows.push_back(std::move(record));
    }
}

TEST(ShellSortReference, RandomRowsEndWhereTheRowMovingSortPutsThem) {
    const long types[] = {100, 102, 103, 252, 300, 401, 600};
    const short columnOf[] = {1, 2, 2, 3, 5, 1, 4};
    std::mt19937 random(20240305);
    for (long count = 0; count <= 200; ++count) {
        for (int round = 0; round < 2; ++round) {
            std::vector<Key> keys;
            const int keyCount = 1 + static_cast<int>(random() % 3);
            for (int k = 0; k < keyCount; ++k) {
                int t = static_cast<int>(random() % 7);
                keys.push_back({columnOf[t], types[t], static_cast<long>(random() % 3)});  // order 0 is descending too
            }
            if (count % 50 == 7)
                keys.push_back({1, 999, 1});  // unknown type as the last key

            tGridCellTable cells;
            tGridRowTable rows;
            MakeTables(random, count, cells, rows);
            tGridCellTable expectedCells = cells;
            tGridRowTable expectedRows = rows;
            ReferenceSort(expectedCells, expectedRows, keys);

            Sort sort;
            for (size_t k = 0; k < keys.size(); ++k) {
                auto index = static_cast<short>(k + 1);
                sort.SortColumn(index, keys[k].column);
                sort.SortType(index, keys[k].type);
                sort.SortOrder(index, keys[k].order);
            }
            sort.SortRows(cells, rows);

            ASSERT_EQ(rows.size(), expectedRows.size());
            ASSERT_EQ(cells.size(), expectedCells.size());
            for (size_t r = 1; r < rows.size(); ++r) {
                ASSERT_EQ(rows[r].sKey, expectedRows[r].sKey) << count << " rows, round " << round << ", row " << r;
                // The record travelled with its cells, and the cells with each other.
                EXPECT_EQ(rows[r].lHeight, cells[r][0].lItemData);
                EXPECT_EQ(std::to_wstring(cells[r][4].lItemData), rows[r].sKey);
                EXPECT_TRUE(cells[r][1].vText.Identical(expectedCells[r][1].vText));
            }
        }
    }
}

}  // namespace
}  // namespace ferryl
