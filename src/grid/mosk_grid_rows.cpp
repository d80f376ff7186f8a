// MoskGrid: the row table and the rows of the cell table, which always have the same length
// (index 0 of both is the sentinel). Appending grows both by amortised constant time; inserting and
// removing move only what follows.

#include <algorithm>

#include "grid/grid_accessible.h"
#include "grid/grid_errors.h"
#include "grid/mosk_grid.h"
#include "grid/mosk_grid_sinks.h"
#include "grid/scroll_bars.h"

namespace ferryl {

void MoskGrid::CheckRow(long lRow) const {
    if (lRow < 1 || lRow > Rows())
        RaiseGridError(kErrSubscriptOutOfRange, kTextInvalidRowSubscript);
}

std::vector<tGridCell> MoskGrid::BlankRow() const {
    return std::vector<tGridCell>(static_cast<size_t>(Columns()), m_tBlankCell);
}

void MoskGrid::RowCountChanged() {
    m_access->RowsChanged();
    m_listener->RowsChanged();
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
    if (lRows <= Rows()) {
        // A current row that was cut off moves to the new last row and takes the selection with it.
        m_model.CutRowsAfter(lRows);
    } else {
        // New rows: visible, the default height, each starting below the one before.
        m_model.GrowRows(lRows, m_lDefaultRowHeight, [this] { return BlankRow(); });
        if (m_lDefaultRowHeight > m_lRowBufferHeight)
            BuildRowBuffer(m_lDefaultRowHeight);
    }
    RowCountChanged();
    m_bDirty = true;
    Draw();
}

long MoskGrid::RowHeight(long lRow) const {
    CheckRow(lRow);
    return m_model.Row(lRow).lHeight;
}

void MoskGrid::RowHeight(long lRow, long lHeight) {
    // A row past Rows is refused: growing the row table alone would leave rows without cells.
    if (lRow < 1 || lRow > Rows())
        RaiseGridError(kErrSubscriptOutOfRange, kTextRowOutOfRange);
    m_model.SetRowHeight(lRow, lHeight);
    if (lHeight > m_lRowBufferHeight)
        BuildRowBuffer(lHeight);
}

bool MoskGrid::RowVisible(long lRow) const {
    CheckRow(lRow);
    return m_model.Row(lRow).bVisible;
}

void MoskGrid::RowVisible(long lRow, bool bState) {
    CheckRow(lRow);
    m_model.SetRowVisible(lRow, bState);
    m_bDirty = true;
    Draw();
}

bool MoskGrid::RowIsGroup(long lRow) const {
    CheckRow(lRow);
    return m_model.Row(lRow).bGroupRow;
}

void MoskGrid::RowIsGroup(long lRow, bool bState) {
    CheckRow(lRow);
    tGridRow& row = m_model.Row(lRow);
    if (row.bGroupRow == bState)
        return;
    row.bGroupRow = bState;
    m_model.MarkRowDirty(lRow);
    Draw();
}

long MoskGrid::RowGroupStartColumn(long lRow) const {
    CheckRow(lRow);
    return m_model.Row(lRow).lGroupStartColIndex;
}

void MoskGrid::RowGroupStartColumn(long lRow, long lColumn) {
    CheckRow(lRow);
    tGridRow& row = m_model.Row(lRow);
    if (row.lGroupStartColIndex == lColumn)
        return;
    row.lGroupStartColIndex = lColumn;
    m_model.MarkRowDirty(lRow);
    Draw();
}

void MoskGrid::AddRow(long lRowBefore,
                      const std::wstring& sKey,
                      bool bVisible,
                      long lHeight,
                      bool bGroupRow,
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
    if (append)
        m_model.AppendRow(std::move(row), BlankRow());
    else
        m_model.InsertRow(lRowBefore, std::move(row), BlankRow());
    if (lHeight > m_lRowBufferHeight)
        BuildRowBuffer(lHeight);
    RowCountChanged();
    m_bDirty = true;
    Draw();
}

void MoskGrid::AddRowWithCells(std::vector<tRowCell> cells) {
    if (Columns() == 0)
        RaiseGridError(kErrSubscriptOutOfRange, kTextNoColumns);
    if (cells.size() > static_cast<size_t>(Columns()))
        RaiseGridError(kErrSubscriptOutOfRange, kTextInvalidColumnIndex);
    std::vector<tGridCell> rowCells = BlankRow();
    for (size_t i = 0; i < cells.size(); ++i) {
        rowCells[i].vText = std::move(cells[i].sText);
        rowCells[i].eTextFormat = cells[i].eTextAlign | kNoPrefix;
    }
    // Everything that may fail comes before the row goes in.
    if (m_lDefaultRowHeight > m_lRowBufferHeight)
        BuildRowBuffer(m_lDefaultRowHeight);
    tGridRow row;
    row.lHeight = m_lDefaultRowHeight;
    m_model.AppendRow(std::move(row), std::move(rowCells));
    RowCountChanged();
    m_bDirty = true;
    Draw();
}

void MoskGrid::RemoveRow(long lRow) {
    CheckRow(lRow);
    if (Rows() == 1) {
        Clear(false);
        return;
    }
    // The current row follows its data up; when it was the removed row, the row now in its place
    // (or the new last row) becomes current and takes the selection.
    m_model.RemoveRow(lRow);
    RowCountChanged();
    m_bDirty = true;
    Draw();
}

void MoskGrid::Clear(bool bRemoveCols) {
    m_model.ClearRows();
    if (bRemoveCols) {
        m_model.ClearColumns();
        m_lRowTextStartColumn = 0;
    }
    RowCountChanged();
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
