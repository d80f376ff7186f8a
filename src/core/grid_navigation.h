#pragma once
// Where the current cell goes: one visible column or row on, a page up or down, the keys that do
// it. Pure rules over the grid's shape; the selection that follows a move is GridModel's.

#include <optional>

#include "core/grid_shape.h"

namespace ferryl {

// The current cell: a row and a cell column (lCellColIndex); 0 in either means none.
struct GridCursor {
    long row = 0;
    long column = 0;
    bool Valid() const noexcept { return row >= 1 && column >= 1; }
    friend bool operator==(const GridCursor&, const GridCursor&) = default;
};

// The keys the grid acts on, by the key codes its KeyDown event reports.
enum class GridKey : short {
    Tab = 9,
    Enter = 13,
    Escape = 27,
    Space = 32,
    PageUp = 33,
    PageDown = 34,
    End = 35,
    Home = 36,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
};

// The bits of the Shift argument of the grid's key and mouse events.
inline constexpr short kShiftMask = 1;
inline constexpr short kCtrlMask = 2;
inline constexpr short kAltMask = 4;

// The arrow Tab stands for: down (row mode) or right, up or left with Shift.
GridKey TabAsArrow(short shift, bool rowMode) noexcept;

// One shown column left (step -1) or right (+1) of `from`, hidden columns stepped over; in cell mode
// the row-text column is a stop even when hidden. Past a row's end it goes on at the far end of the
// neighbouring shown row (its row-text column for a group row). A group row has no columns to step
// through. Nothing when there is no such row.
std::optional<GridCursor> StepAcross(const GridShape& shape, GridCursor from, long step, bool rowMode) noexcept;

// One shown row up (step -1) or down (+1), hidden rows stepped over; nothing past the first or the
// last row. A group row takes the row-text column; leaving the row-text column for an ordinary row
// takes the first shown column.
std::optional<GridCursor> StepDown(const GridShape& shape, GridCursor from, long step) noexcept;

// The row a page up or down from `row` goes to, in a view `visibleHeight` pixels high: the last
// shown row that still fits with `row` on the page, or the first (last) shown row past the
// grid's end; 0 when no row is shown.
long PageUpRow(const GridShape& shape, long row, long visibleHeight) noexcept;
long PageDownRow(const GridShape& shape, long row, long visibleHeight) noexcept;

}  // namespace ferryl
