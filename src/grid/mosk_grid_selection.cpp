// MoskGrid: the public members of the current cell and the selected flags. The rules live in the
// model (core/grid_model.h); what is here checks the arguments, scrolls, paints and tells the owner.

#include "grid/grid_errors.h"
#include "grid/mosk_grid.h"

namespace ferryl {

void MoskGrid::SelectionChangedFrom(const GridCursor& old) {
    const GridCursor& current = m_model.Current();
    if (current != old)
        m_listener->SelectionChange(current.row, current.column);
}

bool MoskGrid::CellSelected(long lRow, long lCol) const {
    return CheckedCell(lRow, lCol).bSelected;
}

void MoskGrid::CellSelected(long lRow, long lCol, bool bState) {
    ValidateCell(lRow, lCol);
    const GridCursor previous = m_model.Current();
    m_model.SelectCell(lRow, lCol, bState);
    if (m_model.MultiSelect())
        return;
    EnsureVisible(SelectedRow(), SelectedCol());
    SelectionChangedFrom(previous);
}

void MoskGrid::SelectedRow(long lRow) {
    if (lRow < 1 || lRow > Rows())
        RaiseGridError(kErrSubscriptOutOfRange);
    m_model.SelectRow(lRow);
    EnsureVisible(SelectedRow(), SelectedCol());
}

void MoskGrid::SelectedCol(long lCol) {
    if (lCol < 1 || lCol > Columns())
        RaiseGridError(kErrSubscriptOutOfRange);
    m_model.SelectColumn(lCol);
    EnsureVisible(SelectedRow(), SelectedCol());
}

void MoskGrid::ClearSelection() {
    m_model.ClearSelection();
    Draw();
}

void MoskGrid::MultiSelect(bool bState) {
    m_model.SetMultiSelect(bState);
    m_bDirty = true;
    Draw();
    PropertyChanged(L"MultiSelect");
}

void MoskGrid::RowMode(bool bState) {
    m_model.SetRowMode(bState);
    m_bDirty = true;
    Draw();
    PropertyChanged(L"RowMode");
}

}  // namespace ferryl
