#pragma once
// The records of the grid's row and column tables: one row (in display order) and one column (its
// index in the column table is its display position). Index 0 of either table is a sentinel of
// size 0 that is never shown, so that row and column numbers are 1-based.

#include <string>
#include <vector>

#include "core/gap_vector.h"

namespace ferryl {

struct tGridRow {
    long lHeight = 0;
    long lStartY = 0;  // sum of the heights of the visible rows above
    bool bVisible = true;
    std::wstring sKey;
    bool bGroupRow = false;
    long lGroupStartColIndex = 0;
};

struct tGridColumn {
    long lWidth = 0;
    long lStartX = 0;  // sum of the widths of the visible columns before it in display order
    long lCellColIndex = 0;
    bool bVisible = true;
    bool bRowTextCol = false;
    std::wstring sKey;
    std::wstring sTag;
    bool bIncludeInSelect = true;
    long lHeaderColIndex = 0;
    std::wstring sHeader;
    long lImage = -1;
    long eAlign = 0;
    std::wstring sFmtString;
    bool bImageOnRight = false;
    long eSortType = 102;
    long eSortOrder = 1;
};

// The row table keeps a gap where rows were last inserted or removed, so a run of such edits moves
// only the rows between them.
using tGridRowTable = GapVector<tGridRow>;
using tGridColumnTable = std::vector<tGridColumn>;

}  // namespace ferryl
