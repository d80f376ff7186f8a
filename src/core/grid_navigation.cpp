#include "core/grid_navigation.h"

namespace ferryl {

GridKey TabAsArrow(short shift, bool rowMode) noexcept {
    if (shift & kShiftMask)
        return rowMode ? GridKey::Up : GridKey::Left;
    return rowMode ? GridKey::Down : GridKey::Right;
}

std::optional<GridCursor> StepAcross(const GridShape& shape, GridCursor from, long step, bool rowMode) noexcept {
    const long columns = shape.Columns();
    if (!shape.Row(from.row).bGroupRow) {
        long position = shape.PositionOf(from.column) + step;
        for (; position >= 1 && position <= columns; position += step) {
            bool rowText = shape.IsRowTextPosition(position);
            if (shape.Column(position).bVisible && !rowText)
                break;
            if (rowText && !rowMode)
                break;  // in cell mode the row text is a stop of its own
        }
        if (position >= 1 && position <= columns)
            return GridCursor{from.row, shape.CellColumnAt(position)};
    }
    // Off the row's end: the neighbouring shown row, at its far end.
    long row = from.row + step;
    while (row >= 1 && row <= shape.Rows() && !shape.Row(row).bVisible)
        row += step;
    if (row < 1 || row > shape.Rows())
        return std::nullopt;
    long rowText = shape.RowTextCellColumn();
    if (shape.Row(row).bGroupRow && rowText > 0)
        return GridCursor{row, rowText};
    return GridCursor{row, step < 0 ? shape.LastVisibleColumn() : shape.FirstVisibleColumn()};
}

std::optional<GridCursor> StepDown(const GridShape& shape, GridCursor from, long step) noexcept {
    long row = from.row;
    // From row 0 (no current row) past every row hidden, it takes Rows() + 1 steps to leave the grid.
    for (long i = 0; i <= shape.Rows(); ++i) {
        row += step;
        if (row < 1 || row > shape.Rows())
            return std::nullopt;
        if (shape.Row(row).bVisible)
            break;
    }
    long rowText = shape.RowTextCellColumn();
    GridCursor to{row, from.column};
    if (shape.Row(row).bGroupRow && rowText > 0)
        to.column = rowText;
    else if (rowText > 0 && from.column == rowText)
        to.column = shape.FirstVisibleColumn();
    return to;
}

long PageUpRow(const GridShape& shape, long row, long visibleHeight) noexcept {
    const long limit = shape.RowStartY(row) + shape.Row(row).lHeight - visibleHeight;
    for (long r = row - 1;; --r) {
        if (r < 1)
            return shape.FirstVisibleRow();
        if (shape.Row(r).bVisible && shape.RowStartY(r) < limit)
            return r;
    }
}

long PageDownRow(const GridShape& shape, long row, long visibleHeight) noexcept {
    const long limit = shape.RowStartY(row) + visibleHeight - shape.Row(row).lHeight;
    for (long r = row + 1;; ++r) {
        if (r > shape.Rows())
            return shape.LastVisibleRow();
        if (shape.Row(r).bVisible && shape.RowStartY(r) > limit)
            return r;
    }
}

}  // namespace ferryl
