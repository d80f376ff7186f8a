#pragma once
// The cost of moving the current cell with the arrow keys, against the number of rows.

#include <windows.h>

namespace ferryl::bench {

// Prints the time of 1,000 arrow-key moves in a shown grid of 100 rows and of 100,000 rows (5
// columns each), and their ratio: a key costs the same whatever the number of rows.
void PrintArrowKeyFigure(HWND parent);

}  // namespace ferryl::bench
