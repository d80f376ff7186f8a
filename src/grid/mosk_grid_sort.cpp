// MoskGrid: sorting the rows with the sort object. Kept apart from the rest of the grid so that a
// program that never sorts does not link the sort.

#include <algorithm>
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
    bool markSelected = m_lSelectedRow >= 1 && m_lSelectedRow <= Rows();
    std::wstring selectedKey;
    if (markSelected)
        selectedKey = std::exchange(m_tRows[static_cast<size_t>(m_lSelectedRow)].sKey, kSelectedRowMarker);

    try {
        SortObject().SortRows(m_tCells, m_tRows);
    } catch (...) {
        // A failed comparison leaves the rows partly sorted; the current row's key must not stay marked.
        if (markSelected) {
            for (auto& row : m_tRows) {
                if (row.sKey == kSelectedRowMarker) {
                    row.sKey = selectedKey;
                    break;
                }
            }
        }
        throw;
    }

    m_selectedRows.Rebuild(Rows(), [this](long r) {
        const auto& cells = m_tCells[static_cast<size_t>(r)];
        return std::any_of(cells.begin(), cells.end(), [](const tGridCell& cell) { return cell.bSelected; });
    });
    if (markSelected) {
        for (size_t r = 1; r < m_tRows.size(); ++r) {
            if (m_tRows[r].sKey == kSelectedRowMarker) {
                m_tRows[r].sKey = selectedKey;
                m_lSelectedRow = static_cast<long>(r);
                break;
            }
        }
    }
    m_tRows[1].lStartY = 0;
    RowHeight(1, m_tRows[1].lHeight);  // recomputes every lStartY
    m_access->RowsChanged();
    m_bDirty = true;
    if (m_lSelectedRow >= 1 && m_lSelectedRow <= Rows() && m_lSelectedCol >= 1 && m_lSelectedCol <= Columns()) {
        EnsureVisible(m_lSelectedRow, m_lSelectedCol);
    } else {
        m_lSelectedRow = 1;
        m_lSelectedCol = 1;
        Draw();
    }
}

}  // namespace ferryl
