#pragma once
// The rows and columns of the grid as they are laid out: heights, widths, the running start
// positions, visibility, display order and the row-text column. Positions are pixels measured from
// the top-left of row 1, column 1. Rows and display positions are 1-based long numbers, as the
// grid's members take them; the accessors here turn them into table indexes in one place.
//
// A display position (the column's place on the screen) and a cell column (lCellColIndex, the
// column's cells) are the same number until columns are reordered; the names of the members say
// which one they take.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "core/grid_records.h"

namespace ferryl {

// What a view at the given offsets shows: the rows and display positions that reach into it.
// With no column in view lFirstCol is 1 and lLastCol 0; with no row, lLastRow < lFirstRow.
struct GridVisibleRange {
    long lFirstRow = 1, lLastRow = 0, lFirstCol = 1, lLastCol = 0, lScrollX = 0, lScrollY = 0;
};

// The offset that brings the span from `start` to `end` into a view `visible` long now at `offset`,
// 8 pixels inside the edge it was beyond; `offset` when it is in view. A column wider than the view
// goes to the view's left edge.
long ColumnScrollTarget(long start, long end, long offset, long visible) noexcept;
// The same for a row; a row taller than the view that starts inside it does not move the view.
long RowScrollTarget(long start, long end, long offset, long visible) noexcept;

class GridShape {
  public:
    GridShape();

    long Rows() const noexcept { return static_cast<long>(m_rows.size()) - 1; }
    long Columns() const noexcept { return static_cast<long>(m_cols.size()) - 1; }

    // The row in display order, 0 being the sentinel. Its lStartY may be stale: RowStartY and
    // RowTable give it up to date.
    tGridRow& Row(long row) noexcept { return m_rows[Index(row)]; }
    const tGridRow& Row(long row) const noexcept { return m_rows[Index(row)]; }
    // The column at a display position, 0 being the sentinel.
    tGridColumn& Column(long position) noexcept { return m_cols[Index(position)]; }
    const tGridColumn& Column(long position) const noexcept { return m_cols[Index(position)]; }

    // The whole tables, row starts brought up to date.
    const tGridRowTable& RowTable() const noexcept {
        EnsureRowStarts();
        return m_rows;
    }
    const tGridColumnTable& ColumnTable() const noexcept { return m_cols; }

    // --- rows ---
    // The top of a row measured from the top of row 1.
    long RowStartY(long row) const noexcept {
        EnsureRowStarts(Index(row));
        return m_rows[Index(row)].lStartY;
    }
    // Where the next row starts: below the row when it is visible.
    long RowBottom(long row) const noexcept;
    void SetRowHeight(long row, long height) noexcept;
    void SetRowVisible(long row, bool visible) noexcept;
    // The first and last rows that are shown; 0 when none is.
    long FirstVisibleRow() const noexcept;
    long LastVisibleRow() const noexcept;

    // --- columns ---
    // The display position of a cell column; 0 when no column holds it.
    long PositionOf(long cellColumn) const noexcept;
    long CellColumnAt(long position) const noexcept { return Column(position).lCellColIndex; }
    // The row-text column: drawn across the row under the cells, never as a cell of its own. Its
    // display position, 0 when there is none.
    long RowTextPosition() const noexcept { return m_rowTextPosition; }
    bool HasRowText() const noexcept { return m_rowTextPosition > 0; }
    bool IsRowTextPosition(long position) const noexcept { return HasRowText() && position == m_rowTextPosition; }
    // Its cell column, 0 when there is none.
    long RowTextCellColumn() const noexcept { return HasRowText() ? CellColumnAt(m_rowTextPosition) : 0; }
    // The first and last shown cell columns in display order, the row-text column left out; 0 when none.
    long FirstVisibleColumn() const noexcept;
    long LastVisibleColumn() const noexcept;
    void SetColumnWidth(long position, long width) noexcept;
    // Exchanges two display positions; the columns between keep their places.
    void SwapColumns(long position, long other) noexcept;
    // Moves a column to another display position; the columns between shift one place towards
    // where it came from and keep their order.
    void MoveColumn(long from, long to);
    // Every row height and column width through `scale`.
    void ScaleSizes(const std::function<long(long)>& scale);

    // --- geometry, in pixels from the top-left of row 1, column 1 ---
    // The shown row whose span holds y (its bottom pixel belongs to it, its top pixel to the row
    // above); 0 when none does.
    long RowAtY(long y) const noexcept;
    // The cell column under x in `row`: the row-text column for a group row, otherwise the shown
    // column, the row-text column left out, whose span holds x; 0 when none does.
    long CellColumnAtX(long x, long row) const noexcept;
    // What a view of width x height at the offsets shows.
    GridVisibleRange VisibleRange(long scrollX, long scrollY, long width, long height) const noexcept;
    // The extent of the data: the right edge of the last shown column (the row-text column left
    // out) and the bottom of the last row.
    long DataWidth() const noexcept;
    long DataHeight() const noexcept;

    // The first row from `start` to the last row, then, with `loop`, from row 1 to `start`, for
    // which `matches` holds; hidden rows are skipped when `visibleOnly`. 0 when none.
    template <typename Matches>
    long FindRow(long start, bool loop, bool visibleOnly, Matches matches) const {
        auto candidate = [&](long row) { return (Row(row).bVisible || !visibleOnly) && matches(row); };
        for (long row = start; row <= Rows(); ++row) {
            if (candidate(row))
                return row;
        }
        if (loop) {
            for (long row = 1; row <= start && row <= Rows(); ++row) {
                if (candidate(row))
                    return row;
            }
        }
        return 0;
    }

  protected:
    static std::size_t Index(long number) noexcept { return static_cast<std::size_t>(number); }
    // Rows from `row` on may hold a stale lStartY.
    void RowStartsChangedFrom(long row) noexcept;
    void EnsureRowStarts(std::size_t upTo = SIZE_MAX) const noexcept;
    void RecomputeColumnStarts() noexcept;

    tGridRowTable m_rows;
    // Row starts are kept lazily: rows from this one on may hold a stale lStartY (SIZE_MAX: none).
    // Removing or inserting rows one by one then costs nothing per following row.
    mutable std::size_t m_firstStaleRowStart = SIZE_MAX;
    tGridColumnTable m_cols;
    // The last column added with the row-text flag, wherever it has been moved since; 0 = none.
    long m_rowTextPosition = 0;
};

}  // namespace ferryl
