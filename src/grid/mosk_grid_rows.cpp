// MoskGrid: the row table and the rows of the cell table, which always have the same length
// (index 0 of both is the sentinel). Appending grows both by amortised constant time; inserting and
// removing move only what follows.

#include <algorithm>

#include "grid/grid_accessible.h"
#include "grid/grid_errors.h"
#include "grid/grid_layout.h"
#include "grid/mosk_grid.h"
#include "grid/mosk_grid_sinks.h"
#include "grid/scroll_bars.h"

namespace ferryl {

void MoskGrid::CheckRow(long lRow) const {
    if (lRow < 1 || lRow > Rows())
        RaiseGridError(kErrSubscriptOutOfRange, kTextInvalidRowSubscript);
}

void MoskGrid::RowStartsChangedFrom(size_t row) noexcept {
    if (row < 1)
        row = 1;
    if (row < m_firstStaleRowStart)
        m_firstStaleRowStart = row;
}

void MoskGrid::EnsureRowStarts(size_t upTo) const noexcept {
    if (m_firstStaleRowStart == SIZE_MAX)
        return;
    size_t last = m_tRows.size() - 1;
    if (m_firstStaleRowStart > last) {
        m_firstStaleRowStart = SIZE_MAX;
        return;
    }
    if (upTo < m_firstStaleRowStart)
        return;
    // The starts are a cache of the heights and visibilities; refreshing them changes nothing a
    // caller can tell apart, so readers that are const may do it.
    RecomputeRowStarts(const_cast<tGridRowTable&>(m_tRows), m_firstStaleRowStart, upTo);
    m_firstStaleRowStart = upTo >= last ? SIZE_MAX : upTo + 1;
}

std::vector<tGridCell> MoskGrid::BlankRow() const {
    return std::vector<tGridCell>(static_cast<size_t>(Columns()), m_tBlankCell);
}

void MoskGrid::DefaultRowHeight(long lHeight) {
    m_lDefaultRowHeightProperty = lHeight;
    m_lDefaultRowHeight = std::max(lHeight, 1L);
    PropertyChanged(L"DefaultRowHeight");
}

void MoskGrid::Rows(long lRows) {
    if (lRows < 1)
        RaiseGridError(kErrSubscriptOutOfRange, kTextRowOutOfRange);
    if (Columns() == 0)
        RaiseGridError(kErrSubscriptOutOfRange, kTextNoColumns);
    long oldRows = Rows();
    if (lRows <= oldRows) {
        m_tCells.resize(static_cast<size_t>(lRows) + 1);
        m_tRows.resize(static_cast<size_t>(lRows) + 1);
        m_selectedRows.RowsCutAfter(lRows);
        // A current row that was cut off moves to the new last row and takes the selection with it.
        bool cutOff = m_lSelectedRow > lRows;
        KeepSelectionInside();
        if (cutOff && !m_bMultiSelect && m_lSelectedCol > 0)
            SelectCurrentOnly();
    } else {
        // New rows: visible, the default height, each starting below the one before.
        m_tRows.resize(static_cast<size_t>(lRows) + 1);
        for (long r = oldRows + 1; r <= lRows; ++r) {
            tGridRow& row = m_tRows[static_cast<size_t>(r)];
            row.lHeight = m_lDefaultRowHeight;
            row.bVisible = true;
        }
        RowStartsChangedFrom(static_cast<size_t>(oldRows + 1));
        // Each new row is built once and moved in: resize(n, value) would copy a template row.
        for (long r = oldRows + 1; r <= lRows; ++r)
            m_tCells.push_back(BlankRow());
        if (m_lDefaultRowHeight > m_lRowBufferHeight)
            BuildRowBuffer(m_lDefaultRowHeight);
    }
    m_access->RowsChanged();
    m_bDirty = true;
    Draw();
}

long MoskGrid::RowHeight(long lRow) const {
    CheckRow(lRow);
    return m_tRows[static_cast<size_t>(lRow)].lHeight;
}

void MoskGrid::RowHeight(long lRow, long lHeight) {
    // A row past Rows is refused: growing the row table alone would leave rows without cells.
    if (lRow < 1 || lRow > Rows())
        RaiseGridError(kErrSubscriptOutOfRange, kTextRowOutOfRange);
    m_tRows[static_cast<size_t>(lRow)].lHeight = lHeight;
    RowStartsChangedFrom(static_cast<size_t>(lRow) + 1);
    if (lHeight > m_lRowBufferHeight)
        BuildRowBuffer(lHeight);
}

bool MoskGrid::RowVisible(long lRow) const {
    CheckRow(lRow);
    return m_tRows[static_cast<size_t>(lRow)].bVisible;
}

void MoskGrid::RowVisible(long lRow, bool bState) {
    CheckRow(lRow);
    m_tRows[static_cast<size_t>(lRow)].bVisible = bState;
    RowStartsChangedFrom(static_cast<size_t>(lRow) + 1);
    m_bDirty = true;
    Draw();
}

bool MoskGrid::RowIsGroup(long lRow) const {
    CheckRow(lRow);
    return m_tRows[static_cast<size_t>(lRow)].bGroupRow;
}

void MoskGrid::RowIsGroup(long lRow, bool bState) {
    CheckRow(lRow);
    tGridRow& row = m_tRows[static_cast<size_t>(lRow)];
    if (row.bGroupRow == bState)
        return;
    row.bGroupRow = bState;
    for (auto& cell : m_tCells[static_cast<size_t>(lRow)])
        cell.bDirty = true;
    Draw();
}

long MoskGrid::RowGroupStartColumn(long lRow) const {
    CheckRow(lRow);
    return m_tRows[static_cast<size_t>(lRow)].lGroupStartColIndex;
}

void MoskGrid::RowGroupStartColumn(long lRow, long lColumn) {
    CheckRow(lRow);
    tGridRow& row = m_tRows[static_cast<size_t>(lRow)];
    if (row.lGroupStartColIndex == lColumn)
        return;
    row.lGroupStartColIndex = lColumn;
    for (auto& cell : m_tCells[static_cast<size_t>(lRow)])
        cell.bDirty = true;
    Draw();
}

void MoskGrid::AddRow(long lRowBefore, const std::wstring& sKey, bool bVisible, long lHeight, bool bGroupRow,
                      long lGroupColStartIndex) {
    if (lHeight < 0)
        lHeight = m_lDefaultRowHeight;
    bool append = lRowBefore < 1 || Rows() < 1;
    // Inserting before a row that does not exist is refused rather than guessed at.
    if (!append && lRowBefore > Rows())
        RaiseGridError(kErrSubscriptOutOfRange, kTextInvalidRowSubscript);

    tGridRow row;
    row.sKey = sKey;
    row.bGroupRow = bGroupRow;
    row.lGroupStartColIndex = lGroupColStartIndex;
    row.bVisible = bVisible;
    row.lHeight = lHeight;
    if (append) {
        // While earlier starts are stale the new row's is too; it is computed with them.
        if (m_firstStaleRowStart == SIZE_MAX) {
            const tGridRow& previous = m_tRows.back();
            row.lStartY = Rows() == 0 ? 0 : previous.lStartY + (previous.bVisible ? previous.lHeight : 0);
        }
        m_tRows.push_back(std::move(row));
        m_tCells.push_back(BlankRow());
    } else {
        size_t at = static_cast<size_t>(lRowBefore);
        m_tRows.insert(at, std::move(row));
        m_tCells.insert(at, BlankRow());
        m_selectedRows.RowInserted(lRowBefore);
        RowStartsChangedFrom(at);
        // The current row's cells moved down with it; the current row number follows them.
        if (m_lSelectedRow >= lRowBefore)
            ++m_lSelectedRow;
        if (m_lPrevSelRow >= lRowBefore)
            ++m_lPrevSelRow;
    }
    if (lHeight > m_lRowBufferHeight)
        BuildRowBuffer(lHeight);
    m_access->RowsChanged();
    m_bDirty = true;
    Draw();
}

void MoskGrid::RemoveRow(long lRow) {
    CheckRow(lRow);
    if (Rows() == 1) {
        Clear(false);
        return;
    }
    size_t at = static_cast<size_t>(lRow);
    m_tRows.erase(at);
    m_tCells.erase(at);
    m_selectedRows.RowRemoved(lRow);
    RowStartsChangedFrom(at);

    // The current row follows its data up; when it was the removed row, the row now in its place
    // (or the new last row) becomes current and takes the selection.
    bool wasCurrent = m_lSelectedRow == lRow;
    if (m_lSelectedRow > lRow)
        --m_lSelectedRow;
    if (m_lPrevSelRow > lRow)
        --m_lPrevSelRow;
    KeepSelectionInside();
    if (wasCurrent && !m_bMultiSelect && m_lSelectedRow > 0 && m_lSelectedCol > 0)
        SelectCurrentOnly();
    m_access->RowsChanged();
    m_bDirty = true;
    Draw();
}

void MoskGrid::Clear(bool bRemoveCols) {
    m_tCells.resize(1);
    m_tRows.resize(1);
    m_selectedRows.Clear();
    m_firstStaleRowStart = SIZE_MAX;
    if (bRemoveCols) {
        m_tCols.resize(1);
        m_lRowTextCol = 0;
        m_lRowTextStartColumn = 0;
        m_bHasRowText = false;
    }
    m_lSelectedRow = m_lSelectedCol = m_lPrevSelRow = m_lPrevSelCol = 0;
    m_access->RowsChanged();
    m_bDirty = true;
    m_bMoreRows = m_bVirtual;
    if (m_cScroll) {
        m_cScroll->Value(cScrollBars::kHorizontal, 0);
        m_cScroll->Value(cScrollBars::kVertical, 0);
    }
    m_lScrollX = m_lScrollY = 0;
    Draw();
}

}  // namespace ferryl
