// MoskGrid: sorting the rows with the sort object. Kept apart from the rest of the grid so that a
// program that never sorts does not link the sort.

#include <utility>

#include "grid/grid_accessible.h"
#include "grid/mosk_grid.h"
#include "grid/shell_sort.h"

namespace ferryl {
namespace {

// Marks the current row's record while the rows move, so that it can be found afterwards.
constexpr const wchar_t* kSelectedRowMarker = L"!SELECTEDROW!";

}  // namespace

cShellSortTGridCells& MoskGrid::SortObject() {
    if (!m_sort)
        m_sort = std::make_unique<cShellSortTGridCells>();
    return *m_sort;
}

void MoskGrid::Sort() {
    // Without a key the rows keep their order, and so do the selection and the view.
    if (Rows() < 1 || Columns() < 1 || !m_sort || m_sort->KeyCount() == 0)
        return;
    const long current = SelectedRow();
    const bool markSelected = current >= 1 && current <= Rows();
    std::wstring selectedKey;
    if (markSelected)
        selectedKey = std::exchange(m_model.Row(current).sKey, kSelectedRowMarker);
    // The row that carries the marker after the rows moved, its key given back; 0 when none does.
    auto unmark = [&]() -> long {
        for (long r = 1; markSelected && r <= Rows(); ++r) {
            if (m_model.Row(r).sKey == kSelectedRowMarker) {
                m_model.Row(r).sKey = selectedKey;
                return r;
            }
        }
        return 0;
    };

    try {
        m_model.ReorderRows([&](tGridCellTable& cells, tGridRowTable& rows) { SortObject().SortRows(cells, rows); });
    } catch (...) {
        // A failed comparison leaves the rows partly sorted; the current row's key must not stay marked.
        unmark();
        throw;
    }

    if (long moved = unmark())
        m_model.SetCurrentRow(moved);
    m_access->RowsChanged();
    m_bDirty = true;
    if (m_model.CurrentRowExists() && SelectedCol() >= 1 && SelectedCol() <= Columns()) {
        EnsureVisible(SelectedRow(), SelectedCol());
    } else {
        m_model.SetCurrent(GridCursor{1, 1});
        Draw();
    }
}

}  // namespace ferryl
