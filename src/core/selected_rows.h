#pragma once
// The rows that may hold a selected cell, so that a new selection clears those rows instead of
// walking every cell of the grid. The grid reports each row it inserts, removes or reorders, and the
// numbers here keep naming the same rows. Every row that holds a selected cell is listed; a listed
// row may have lost its selected cells since (the next clearing drops it).
// Plain C++ with no window types: it is tested and reused apart from the control.

#include <vector>

namespace ferryl {

class SelectedRows {
  public:
    // The row gained a selected cell.
    void Add(long row);
    // A row was inserted at `row`: the listed rows from there on move down one.
    void RowInserted(long row);
    // `row` was removed: it leaves the list, and the rows below it move up one.
    void RowRemoved(long row);
    // The rows after `lastRow` are gone.
    void RowsCutAfter(long lastRow);
    // No row holds a selected cell any more.
    void Clear() noexcept { m_rows.clear(); }
    // After the rows were reordered: lists again each of the rows 1..rows that `holdsSelection` says
    // hold a selected cell.
    template <typename HoldsSelection>
    void Rebuild(long rows, HoldsSelection holdsSelection) {
        m_rows.clear();
        for (long row = 1; row <= rows; ++row) {
            if (holdsSelection(row))
                m_rows.push_back(row);
        }
    }
    // Hands over the listed rows, in ascending order, and forgets them: the caller clears their cells
    // and adds back the rows that keep a selected cell.
    std::vector<long> Take() noexcept;
    // Ascending, each row once.
    const std::vector<long>& Rows() const noexcept { return m_rows; }

  private:
    std::vector<long> m_rows;
};

}  // namespace ferryl
