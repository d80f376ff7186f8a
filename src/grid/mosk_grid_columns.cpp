// MoskGrid: the column table. A column's display position is its index in m_tCols; its cells are
// cell column lCellColIndex of every row, which stays with the column when columns are reordered.

#include <algorithm>

#include "grid/grid_errors.h"
#include "grid/grid_layout.h"
#include "grid/mosk_grid.h"

namespace ferryl {

long MoskGrid::FindColumn(const TaggedValue& vKey) const {
    if (vKey.IsMissing())
        return 0;
    if (vKey.IsNumeric()) {
        // Any value that reads as a number is a cell-column index, even a key text such as "12".
        double index = vKey.ToNumber();
        for (size_t i = 1; i < m_tCols.size(); ++i) {
            if (static_cast<double>(m_tCols[i].lCellColIndex) == index)
                return static_cast<long>(i);
        }
        return 0;
    }
    if (!vKey.IsText())
        return 0;
    const std::wstring& key = vKey.Text();
    for (size_t i = 1; i < m_tCols.size(); ++i) {
        if (m_tCols[i].sKey == key)
            return static_cast<long>(i);
    }
    return 0;
}

long MoskGrid::ColumnIndex(const TaggedValue& vKey) const {
    long position = FindColumn(vKey);
    if (position < 1)
        RaiseGridError(kErrSubscriptOutOfRange);
    return position;
}

const tGridColumn& MoskGrid::ColumnEntry(const TaggedValue& vKey) const {
    return m_tCols[static_cast<size_t>(ColumnIndex(vKey))];
}

tGridColumn& MoskGrid::ColumnEntry(const TaggedValue& vKey) {
    return m_tCols[static_cast<size_t>(ColumnIndex(vKey))];
}

void MoskGrid::ValidateNewKey(const std::wstring& sKey) const {
    if (sKey.empty())
        return;
    for (size_t i = 1; i < m_tCols.size(); ++i) {
        if (m_tCols[i].sKey == sKey)
            RaiseGridError(kErrKeyInUse);
    }
}

void MoskGrid::ApplyColumnWidth(long lPosition, long lWidth) {
    m_tCols[static_cast<size_t>(lPosition)].lWidth = lWidth;
    RecomputeColumnStarts(m_tCols);
}

long MoskGrid::AddColumn(const std::wstring& vKey, const std::wstring& sHeader, long eAlign, long iIconIndex,
                         long lColumnWidth, bool bVisible, bool /*bFixed*/, const TaggedValue& vKeyBefore,
                         bool bIncludeInSelect, const std::wstring& sFmtString, bool bRowTextColumn, long eSortType) {
    ValidateNewKey(vKey);
    long position = Columns() + 1;
    if (!vKeyBefore.IsMissing()) {
        position = ColumnIndex(vKeyBefore);
        if (position < 1)
            return 0;
    }
    if (bRowTextColumn)
        m_bHasRowText = true;
    if (lColumnWidth == -1)
        lColumnWidth = m_lDefaultColumnWidth;

    // The new column's cells become cell column `position`. Every cell column at or after it moves one
    // place right: the columns that own them (wherever reordering has put them) follow, and so do the
    // cell-column numbers the grid keeps elsewhere.
    for (size_t i = 1; i < m_tCols.size(); ++i) {
        if (m_tCols[i].lCellColIndex >= position)
            ++m_tCols[i].lCellColIndex;
    }
    if (m_lKeySearchColumn >= position)
        ++m_lKeySearchColumn;
    if (m_lSelectedCol >= position)
        ++m_lSelectedCol;
    if (m_lPrevSelCol >= position)
        ++m_lPrevSelCol;
    if (m_lRowTextCol >= position)
        ++m_lRowTextCol;

    tGridColumn column;
    column.lCellColIndex = position;
    column.sKey = vKey;
    column.bIncludeInSelect = bIncludeInSelect;
    column.sHeader = sHeader;
    column.lImage = iIconIndex;
    column.eAlign = eAlign;
    column.sFmtString = sFmtString;
    column.bVisible = bVisible;
    column.eSortType = eSortType;
    column.bRowTextCol = bRowTextColumn;
    m_tCols.insert(m_tCols.begin() + position, std::move(column));
    if (bRowTextColumn)
        m_lRowTextCol = position;
    ApplyColumnWidth(position, lColumnWidth);

    for (size_t r = 1; r < m_tCells.size(); ++r)
        m_tCells[r].insert(m_tCells[r].begin() + (position - 1), m_tBlankCell);

    if (bVisible)
        SetHeaders();
    return 0;
}

void MoskGrid::RemoveColumn(const TaggedValue& vKey) {
    long position = ColumnIndex(vKey);
    const tGridColumn& removed = m_tCols[static_cast<size_t>(position)];
    if (removed.bRowTextCol) {
        m_lRowTextCol = 0;
        m_lRowTextStartColumn = 0;
        m_bHasRowText = false;
    }
    if (Columns() <= 1) {
        m_tCols.resize(1);
        m_tRows.resize(1);
        m_tCells.resize(1);
        m_selectedRows.Clear();
        m_lSelectedRow = m_lSelectedCol = m_lPrevSelRow = m_lPrevSelCol = 0;
        m_lKeySearchColumn = 0;
        if (m_bHeader)
            SetHeaders();
        m_bDirty = true;
        Draw();
        return;
    }

    // The column at the display position goes, and with it its own cell column, wherever reordering
    // has put the two.
    long cellColumn = removed.lCellColIndex;
    m_tCols.erase(m_tCols.begin() + position);
    for (size_t i = 1; i < m_tCols.size(); ++i) {
        if (m_tCols[i].lCellColIndex > cellColumn)
            --m_tCols[i].lCellColIndex;
    }
    if (m_lRowTextCol > position)
        --m_lRowTextCol;
    if (m_lKeySearchColumn == cellColumn)
        m_lKeySearchColumn = 0;
    else if (m_lKeySearchColumn > cellColumn)
        --m_lKeySearchColumn;
    if (m_lSelectedCol > cellColumn)
        --m_lSelectedCol;
    if (m_lPrevSelCol > cellColumn)
        --m_lPrevSelCol;
    m_lSelectedCol = std::min(m_lSelectedCol, Columns());
    m_lPrevSelCol = std::min(m_lPrevSelCol, Columns());
    RecomputeColumnStarts(m_tCols);

    for (size_t r = 1; r < m_tCells.size(); ++r)
        m_tCells[r].erase(m_tCells[r].begin() + (cellColumn - 1));

    if (m_bHeader)
        SetHeaders();
    m_bDirty = true;
    Draw();
}

std::wstring MoskGrid::ColumnKey(long lCol) const {
    if (lCol < 1)
        RaiseGridError(kErrSubscriptOutOfRange);
    for (size_t i = 1; i < m_tCols.size(); ++i) {
        if (m_tCols[i].lCellColIndex == lCol)
            return m_tCols[i].sKey;
    }
    return {};
}

void MoskGrid::ColumnKey(long lCol, const std::wstring& sKey) {
    // Addressed by cell-column index like the getter, so the two agree after reordering.
    if (lCol < 1)
        RaiseGridError(kErrSubscriptOutOfRange);
    long position = FindColumn(TaggedValue(lCol));
    if (position < 1)
        RaiseGridError(kErrSubscriptOutOfRange);
    tGridColumn& column = m_tCols[static_cast<size_t>(position)];
    if (column.sKey != sKey) {
        ValidateNewKey(sKey);
        column.sKey = sKey;
    }
}

std::wstring MoskGrid::ColumnTag(long lCol) const {
    if (lCol < 1)
        RaiseGridError(kErrSubscriptOutOfRange);
    return ColumnEntry(TaggedValue(lCol)).sTag;
}

void MoskGrid::ColumnTag(long lCol, const std::wstring& sTag) {
    if (lCol < 1)
        RaiseGridError(kErrSubscriptOutOfRange);
    ColumnEntry(TaggedValue(lCol)).sTag = sTag;
}

std::wstring MoskGrid::ColumnHeader(const TaggedValue& vKey) const {
    return ColumnEntry(vKey).sHeader;
}

void MoskGrid::ColumnHeader(const TaggedValue& vKey, const std::wstring& sHeader) {
    tGridColumn& column = ColumnEntry(vKey);
    column.sHeader = sHeader;
    UpdateHeaderItem(column);
}

long MoskGrid::ColumnImage(const TaggedValue& vKey) const {
    return ColumnEntry(vKey).lImage;
}

void MoskGrid::ColumnImage(const TaggedValue& vKey, long lImage) {
    tGridColumn& column = ColumnEntry(vKey);
    column.lImage = lImage;
    UpdateHeaderItem(column);
}

bool MoskGrid::ColumnImageOnRight(const TaggedValue& vKey) const {
    return ColumnEntry(vKey).bImageOnRight;
}

void MoskGrid::ColumnImageOnRight(const TaggedValue& vKey, bool bState) {
    tGridColumn& column = ColumnEntry(vKey);
    column.bImageOnRight = bState;
    UpdateHeaderItem(column);
}

long MoskGrid::ColumnAlign(const TaggedValue& vKey) const {
    return ColumnEntry(vKey).eAlign;
}

void MoskGrid::ColumnAlign(const TaggedValue& vKey, long eAlign) {
    tGridColumn& column = ColumnEntry(vKey);
    column.eAlign = eAlign;
    UpdateHeaderItem(column);
}

std::wstring MoskGrid::ColumnFormatString(const TaggedValue& vKey) const {
    return ColumnEntry(vKey).sFmtString;
}

void MoskGrid::ColumnFormatString(const TaggedValue& vKey, const std::wstring& sFmtString) {
    tGridColumn& column = ColumnEntry(vKey);
    column.sFmtString = sFmtString;
    if (column.bVisible) {
        m_bDirty = true;
        Draw();
    }
}

long MoskGrid::ColumnSortType(const TaggedValue& vKey) const {
    return ColumnEntry(vKey).eSortType;
}

void MoskGrid::ColumnSortType(const TaggedValue& vKey, long eSortType) {
    ColumnEntry(vKey).eSortType = eSortType;
}

long MoskGrid::ColumnSortOrder(const TaggedValue& vKey) const {
    return ColumnEntry(vKey).eSortOrder;
}

void MoskGrid::ColumnSortOrder(const TaggedValue& vKey, long eSortOrder) {
    ColumnEntry(vKey).eSortOrder = eSortOrder;
}

bool MoskGrid::ColumnVisible(const TaggedValue& vKey) const {
    return ColumnEntry(vKey).bVisible;
}

void MoskGrid::ColumnVisible(const TaggedValue& vKey, bool bState) {
    long position = ColumnIndex(vKey);
    tGridColumn& column = m_tCols[static_cast<size_t>(position)];
    if (column.bVisible == bState)
        return;
    column.bVisible = bState;
    ApplyColumnWidth(position, column.lWidth);
    SetHeaders();
    m_bDirty = true;
    Draw();
}

long MoskGrid::ColumnWidth(const TaggedValue& vKey) const {
    return ColumnEntry(vKey).lWidth;
}

void MoskGrid::ColumnWidth(const TaggedValue& vKey, long lWidth) {
    long position = FindColumn(vKey);
    if (position < 1)
        RaiseGridError(kErrSubscriptOutOfRange, kTextColumnOutOfRange);
    ApplyColumnWidth(position, lWidth);
    UpdateHeaderItem(m_tCols[static_cast<size_t>(position)]);
    m_bDirty = true;
    Draw();
}

void MoskGrid::ColumnOrder(const TaggedValue& vKey, long lOrder) {
    long position = ColumnIndex(vKey);
    if (position < 1 || position == lOrder)
        return;
    if (lOrder < 1 || lOrder > Columns())
        RaiseGridError(kErrSubscriptOutOfRange);
    // An exchange, not a move: the columns between the two keep their places.
    std::swap(m_tCols[static_cast<size_t>(position)], m_tCols[static_cast<size_t>(lOrder)]);
    if (m_lRowTextCol == position)
        m_lRowTextCol = lOrder;
    else if (m_lRowTextCol == lOrder)
        m_lRowTextCol = position;
    RecomputeColumnStarts(m_tCols);
    SetHeaders();
    m_bDirty = true;
    Draw();
}

}  // namespace ferryl
