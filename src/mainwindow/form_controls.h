#pragma once
// What the program's two windows share in building their controls: the dialog font and child
// controls placed at positions designed in twips.

#include <windows.h>

#include "common/unique_handle.h"

namespace ferryl {

// Tahoma 8.25 points at the screen's resolution: the face Windows itself substitutes for
// "MS Sans Serif".
UniqueFont CreateFormFont();

// A visible child control at (left, top, width, height) twips of its parent, with the given font.
HWND CreateFormControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, long left,
                       long top, long width, long height, HFONT font);

}  // namespace ferryl
