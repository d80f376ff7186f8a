#pragma once
// The records behind MoskGrid: one cell, one row, one column, and the table that holds the cells.

#include <string>
#include <vector>

#include "common/tagged_value.h"
#include "core/gap_vector.h"

namespace ferryl {

struct tGridCell {
    long lBackColor = -1;  // OLE colour; -1 = the grid background shows through
    long lForeColor = -1;  // OLE colour; -1 = the control's ForeColor
    long lFntIndex = 0;    // index into the font list; 0 = the control's Font
    TaggedValue vText;
    unsigned long eTextFormat = 0x40820;  // DT_SINGLELINE | DT_NOPREFIX | DT_WORD_ELLIPSIS
    long lIconIndex = -1;
    bool bSelected = false;
    bool bDirty = true;
    long lIndent = 0;
    long lExtraIconIndex = -1;
    long lItemData = 0;
};

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

// The cells, one vector per row so that a row moves as a whole by moving its vector:
// cells[row][cellColumn - 1] for row 1..Rows; cells[0] is the empty sentinel row that keeps row
// numbers 1-based, like the row table. Both tables keep a gap where rows were last inserted or
// removed, so a run of such edits moves only the rows between them.
using tGridCellTable = GapVector<std::vector<tGridCell>>;
using tGridRowTable = GapVector<tGridRow>;

}  // namespace ferryl
