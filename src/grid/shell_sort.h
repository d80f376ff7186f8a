#pragma once
// The grid's sort settings (up to eight keys: cell column, order, comparison type) and the shell
// sort over the grid's tables that uses them.

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
    void SortRows(tGridCellTable& cells, std::vector<tGridRow>& rows) const;
    // ...
};

}  // namespace ferryl
