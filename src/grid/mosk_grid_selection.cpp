// MoskGrid: the current cell and the selected flags of the cells. The keyboard and mouse rules that
// drive these belong to the input handling; what is here is what the public members and the shape
// operations need.

#include <algorithm>

#include "grid/grid_errors.h"
#include "grid/mosk_grid.h"

namespace ferryl {

bool MoskGrid::SetCellSelected(long lRow, tGridCell& cell, bool bState) {
    if (cell.bSelected == bState)
        return false;
    cell.bSelected = bState;
    cell.bDirty = true;
    if (bState)
        m_selectedRows.Add(lRow);
    return true;
}

void MoskGrid::UnselectAllBut(const std::function<bool(long, long)>& keep) {
    for (long r : m_selectedRows.Take()) {
        if (r < 1 || r > Rows())
            continue;
        auto& cells = m_tCells[static_cast<size_t>(r)];
        bool kept = false;
        for (size_t c = 0; c < cells.size(); ++c) {
            bool stays = cells[c].bSelected && keep(r, static_cast<long>(c + 1));
            SetCellSelected(r, cells[c], stays);
            kept = kept || stays;
        }
        if (kept)
            m_selectedRows.Add(r);
    }
}

void MoskGrid::SelectOnlyRow(long lRow) {
    UnselectAllBut([lRow](long r, long) { return r == lRow; });
    if (lRow < 1 || lRow > Rows())
        return;
    for (auto& cell : m_tCells[static_cast<size_t>(lRow)])
        SetCellSelected(lRow, cell, true);
}

void MoskGrid::SelectOnlyCell(long lRow, long lCol) {
    UnselectAllBut([lRow, lCol](long r, long c) { return r == lRow && c == lCol; });
    if (lRow < 1 || lRow > Rows() || lCol < 1 || lCol > Columns())
        return;
    SetCellSelected(lRow, CellAt(lRow, lCol), true);
}

// Single selection: only the current cell (row mode: the current row) stays selected. Every other
// selected flag is cleared, not just the previous cell's: rows move under the selection (inserts,
// removals, sorts), and a remembered previous position could name the wrong cell.
void MoskGrid::SelectCurrentOnly() {
    if (Rows() < 1 || Columns() < 1)
        return;
    m_lSelectedRow = std::clamp(m_lSelectedRow, 1L, Rows());
    m_lSelectedCol = std::clamp(m_lSelectedCol, 1L, Columns());
    if (m_bRowMode)
        SelectOnlyRow(m_lSelectedRow);
    else
        SelectOnlyCell(m_lSelectedRow, m_lSelectedCol);
}

void MoskGrid::KeepSelectionInside() {
    m_lSelectedRow = std::min(m_lSelectedRow, Rows());
    m_lPrevSelRow = std::min(m_lPrevSelRow, Rows());
    m_lSelectedCol = std::min(m_lSelectedCol, Columns());
    m_lPrevSelCol = std::min(m_lPrevSelCol, Columns());
}

bool MoskGrid::CellSelected(long lRow, long lCol) const {
    return CheckedCell(lRow, lCol).bSelected;
}

void MoskGrid::CellSelected(long lRow, long lCol, bool bState) {
    ValidateCell(lRow, lCol);
    long previousRow = m_lSelectedRow;
    long previousCol = m_lSelectedCol;
    m_lSelectedRow = lRow;
    m_lSelectedCol = lCol;
    if (m_bMultiSelect) {
        if (m_bRowMode) {
            for (auto& cell : m_tCells[static_cast<size_t>(lRow)])
                SetCellSelected(lRow, cell, bState);
        } else {
            SetCellSelected(lRow, CellAt(lRow, lCol), bState);
        }
        return;
    }
    SelectCurrentOnly();
    EnsureVisible(m_lSelectedRow, m_lSelectedCol);
    if (previousRow != m_lSelectedRow || previousCol != m_lSelectedCol)
        m_listener->SelectionChange(m_lSelectedRow, m_lSelectedCol);
}

void MoskGrid::SelectedRow(long lRow) {
    if (lRow < 1 || lRow > Rows())
        RaiseGridError(kErrSubscriptOutOfRange);
    m_lSelectedRow = lRow;
    if (m_bMultiSelect) {
        if (m_bRowMode)
            SelectOnlyRow(lRow);
        else
            SelectOnlyCell(lRow, m_lSelectedCol);
    } else {
        SelectCurrentOnly();
    }
    EnsureVisible(m_lSelectedRow, m_lSelectedCol);
}

void MoskGrid::SelectedCol(long lCol) {
    if (lCol < 1 || lCol > Columns())
        RaiseGridError(kErrSubscriptOutOfRange);
    m_lSelectedCol = lCol;
    if (m_lSelectedRow >= 1 && m_lSelectedRow <= Rows()) {
        if (m_bMultiSelect)
            SetCellSelected(m_lSelectedRow, CellAt(m_lSelectedRow, lCol), true);
        else
            SelectCurrentOnly();
    }
    EnsureVisible(m_lSelectedRow, m_lSelectedCol);
}

void MoskGrid::ClearSelection() {
    UnselectAllBut([](long, long) { return false; });
    m_lSelectedRow = 0;
    m_lSelectedCol = 0;
    Draw();
}

void MoskGrid::MultiSelect(bool bState) {
    m_bMultiSelect = bState;
    if (!bState && m_lSelectedRow > 0 && m_lSelectedCol > 0)
        SelectCurrentOnly();
    m_bDirty = true;
    Draw();
    PropertyChanged(L"MultiSelect");
}

void MoskGrid::RowMode(bool bState) {
    m_bRowMode = bState;
    if (!m_bMultiSelect) {
        if (m_lSelectedRow > 0 && m_lSelectedCol > 0)
            SelectCurrentOnly();
    } else if (bState) {
        // Every row that has a selected cell becomes fully selected.
        const std::vector<long> listed = m_selectedRows.Rows();
        for (long r : listed) {
            auto& row = m_tCells[static_cast<size_t>(r)];
            if (std::any_of(row.begin(), row.end(), [](const tGridCell& cell) { return cell.bSelected; })) {
                for (auto& cell : row)
                    SetCellSelected(r, cell, true);
            }
        }
    }
    m_bDirty = true;
    Draw();
    PropertyChanged(L"RowMode");
}

}  // namespace ferryl
