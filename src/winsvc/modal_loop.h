#pragma once
// A modal message loop for a window of the program's own: the owner is disabled and the window
// owned by it while the window is visible, as a dialog box would be.

#include <windows.h>

namespace ferryl {

// Shows the window over the owner and runs the message loop until the window is hidden or
// destroyed. A WM_QUIT met on the way ends the loop and is posted again for the outer loop.
void RunModal(HWND window, HWND owner);

}  // namespace ferryl
