// MoskGrid: the column table. A column's display position is its index in the column table; its
// cells are cell column lCellColIndex of every row, which stays with the column when columns are
// reordered.

#include <utility>

#include "grid/grid_errors.h"
#include "grid/mosk_grid.h"

namespace ferryl {

long MoskGrid::FindColumn(const TaggedValue& vKey) const {
    if (vKey.IsMissing())
        return 0;
    if (vKey.IsNumeric()) {
        // Any value that reads as a number is a cell-column index, even a key text such as "12".
        double index = vKey.ToNumber();
        for (long position = 1; position <= Columns(); ++position) {
            if (static_cast<double>(m_model.CellColumnAt(position)) == index)
                return position;
        }
        return 0;
    }
    if (!vKey.IsText())
        return 0;
    const std::wstring& key = vKey.Text();
    for (long position = 1; position <= Columns(); ++position) {
        if (m_model.Column(position).sKey == key)
            return position;
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
    return m_model.Column(ColumnIndex(vKey));
}

tGridColumn& MoskGrid::ColumnEntry(const TaggedValue& vKey) {
    return m_model.Column(ColumnIndex(vKey));
}

void MoskGrid::ValidateNewKey(const std::wstring& sKey) const {
    if (sKey.empty())
        return;
    for (long position = 1; position <= Columns(); ++position) {
        if (m_model.Column(position).sKey == sKey)
            RaiseGridError(kErrKeyInUse);
    }
}

long MoskGrid::AddColumn(const std::wstring& vKey,
                         const std::wstring& sHeader,
                         long eAlign,
                         long iIconIndex,
                         long lColumnWidth,
                         bool bVisible,
                         bool /*bFixed*/,
                         const TaggedValue& vKeyBefore,
                         bool bIncludeInSelect,
                         const std::wstring& sFmtString,
                         bool bRowTextColumn,
                         long eSortType) {
    ValidateNewKey(vKey);
    long position = Columns() + 1;
    if (!vKeyBefore.IsMissing()) {
        position = ColumnIndex(vKeyBefore);
        if (position < 1)
            return 0;
    }
    if (lColumnWidth == -1)
        lColumnWidth = m_lDefaultColumnWidth;

    tGridColumn column;
    column.lWidth = lColumnWidth;
    column.sKey = vKey;
    column.bIncludeInSelect = bIncludeInSelect;
    column.sHeader = sHeader;
    column.lImage = iIconIndex;
    column.eAlign = eAlign;
    column.sFmtString = sFmtString;
    column.bVisible = bVisible;
    column.eSortType = eSortType;
    column.bRowTextCol = bRowTextColumn;
    // The new column's cells become cell column `position`, whatever display position it takes.
    m_model.InsertColumn(position, std::move(column), m_tBlankCell);

    if (bVisible)
        SetHeaders();
    return 0;
}

void MoskGrid::RemoveColumn(const TaggedValue& vKey) {
    long position = ColumnIndex(vKey);
    if (m_model.Column(position).bRowTextCol)
        m_lRowTextStartColumn = 0;
    // The column at the display position goes, and with it its own cell column, wherever reordering
    // has put the two; the last column takes the rows with it.
    m_model.RemoveColumn(position);
    if (m_bHeader)
        SetHeaders();
    m_bDirty = true;
    Draw();
}

std::wstring MoskGrid::ColumnKey(long lCol) const {
    if (lCol < 1)
        RaiseGridError(kErrSubscriptOutOfRange);
    long position = m_model.PositionOf(lCol);
    return position > 0 ? m_model.Column(position).sKey : std::wstring();
}

void MoskGrid::ColumnKey(long lCol, const std::wstring& sKey) {
    // Addressed by cell-column index like the getter, so the two agree after reordering.
    if (lCol < 1)
        RaiseGridError(kErrSubscriptOutOfRange);
    long position = m_model.PositionOf(lCol);
    if (position < 1)
        RaiseGridError(kErrSubscriptOutOfRange);
    tGridColumn& column = m_model.Column(position);
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
    tGridColumn& column = m_model.Column(position);
    if (column.bVisible == bState)
        return;
    column.bVisible = bState;
    m_model.SetColumnWidth(position, column.lWidth);
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
    m_model.SetColumnWidth(position, lWidth);
    UpdateHeaderItem(m_model.Column(position));
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
    m_model.SwapColumns(position, lOrder);
    SetHeaders();
    m_bDirty = true;
    Draw();
}

}  // namespace ferryl
