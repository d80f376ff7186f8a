#pragma once
// The cell record behind MoskGrid and the table that holds the cells; the row and column records
// are in core/grid_records.h.

#include <vector>

#include "common/tagged_value.h"
#include "core/grid_records.h"

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

// The cells, one vector per row so that a row moves as a whole by moving its vector:
// cells[row][cellColumn - 1] for row 1..Rows; cells[0] is the empty sentinel row that keeps row
// numbers 1-based, like the row table. Like the row table it keeps a gap where rows were last
// inserted or removed.
using tGridCellTable = GapVector<std::vector<tGridCell>>;

}  // namespace ferryl
