#pragma once
// The start-position invariants of the row and column tables. No window code: the shape
// operations of MoskGrid and the tests use these directly.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "grid/grid_types.h"

namespace ferryl {

// lStartY(r) = lStartY(r-1) + lHeight(r-1) when row r-1 is visible, for r from `from` (at least 1)
// to `to` or the last row. The sentinel (row 0) is reset to height 0, start 0.
void RecomputeRowStarts(tGridRowTable& rows, size_t from = 1, size_t to = SIZE_MAX);

// The same for lStartX over every display position.
void RecomputeColumnStarts(std::vector<tGridColumn>& columns);

// True when `text` starts with `prefix` ignoring letter case (the system's upper-case table, not a
// locale's); `text` must be at least as long as `prefix`.
bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix);

}  // namespace ferryl
