#pragma once
// The grid's sort settings (up to eight keys: cell column, order, comparison type) and the shell
// sort over the grid's tables that uses them.

#include <cstddef>
#include <vector>

#include "grid/grid_types.h"

namespace ferryl {

class cShellSortTGridCells {
  public:
    // Comparison types.
    enum SortTypes : long {
        eSortNumeric = 100,
        eSortString = 102,
        eSortStringNoCase = 103,
        eSortValue = 200,
        eSortDateYearAccuracy = 250,
        eSortDateMonthAccuracy = 251,
        eSortDateDayAccuracy = 252,
        eSortDateHourAccuracy = 253,
        eSortDateMinuteAccuracy = 254,
        eSortIcon = 300,
        eSortExtraIcon = 301,
        eSortForeColor = 400,
        eSortBackColor = 401,
        eSortFontIndex = 500,
        eSortSelected = 600,
        eSortIndentation = 700,
    };
    enum SortOrders : long { eSortAscending = 1, eSortDescending = 2 };

    void Clear();
    // The highest sort index set; 0 when there is no key and a sort would change nothing.
    short KeyCount() const noexcept { return m_iKeyCount; }
    short LastSortIndex() const;
    void LastSortIndex(short iLastSortIndex);
    short SortColumn(short iSortIndex) const;
    void SortColumn(short iSortIndex, short iSortColumn);
    long SortOrder(short iSortIndex) const;
    void SortOrder(short iSortIndex, long iSortOrder);
    long SortType(short iSortIndex) const;
    void SortType(short iSortIndex, long eSortType);

    // Sorts rows 1..rows.size()-1 of both tables together (index 0 is the sentinel of each). Raises
    // error 9 for a sort column outside the cell table and 13 for numeric keys that are not numbers.
    void SortRows(tGridCellTable& cells, tGridRowTable& rows) const;

  private:
    // What one key says about two cells: equal, and whether the placed cell may stay after the
    // standing one.
    struct CellComparison {
        bool bEqual = false;
        bool bInOrder = false;
    };

    // Accepts 1..8 and grows the tables to it; anything else raises "Invalid sort array index.".
    void ValidateSortIndex(short iSortIndex);
    // Raises "Invalid sort array index." for an index outside 1..8, as the setters do.
    void CheckSortIndex(short iSortIndex) const;
    // Error 9 unless every key's column exists in every row of the cell table.
    void ValidateSortColumns(const tGridCellTable& cells) const;
    bool CompareRow(const std::vector<tGridCell>& placed, const std::vector<tGridCell>& standing) const;
    CellComparison CompareCell(const tGridCell& cellB, const tGridCell& cellA, std::size_t key) const;

    // Index 0 of each table is unused so that sort index k lives at k.
    std::vector<short> m_iSortColumns{0};
    std::vector<long> m_lSortOrders{0};
    std::vector<long> m_lSortTypes{0};
    short m_iKeyCount = 0;
    short m_iLastSortIndex = 0;
};

}  // namespace ferryl
