#pragma once
// mAPIAndCallbacks: the grid's drawing routines that stand apart from the grid itself (image-list
// icons, background tiling, the font record, the XOR drag line on the screen).

#include <windows.h>
// commctrl.h needs the types of windows.h before it.
#include <commctrl.h>

#include "grid/grid_font.h"

namespace ferryl {

// One icon of an image list at (x, y) in a cx by cy box; nothing for an index below 0. `blend`
// draws it as selected against `blendColor` (an OLE colour), `disabled` greys it (DrawState).
void DrawImageListIcon(HIMAGELIST hIml,
                       long iIndex,
                       HDC hdc,
                       int x,
                       int y,
                       int cx,
                       int cy,
                       bool bSelected = false,
                       bool bBlend = false,
                       bool bDisabled = false,
                       long oBlendColor = static_cast<long>(0x80000005),
                       HIMAGELIST hOverrideIml = nullptr);

// Tiles a source picture (srcWidth by srcHeight) over the area, the tiles lined up as if they
// started at (-xOffset, -yOffset): a row painted through a one-row buffer meets the rows around it.
void TileArea(HDC hdcDest,
              int x,
              int y,
              int width,
              int height,
              HDC hdcSrc,
              int srcWidth,
              int srcHeight,
              int xOffset,
              int yOffset);

// The LOGFONT of a font object measured against a device context.
void FontToLogFont(const GridFont& oFont, HDC hdc, LOGFONTW& tLF);

// Draws an XOR rectangle (screen coordinates) on the whole screen: unless bFirst, the rectangle
// drawn last is drawn again (which erases it) when it is still shown; unless bLast, the new one is
// drawn and remembered.
void DrawDragRect(const RECT& rc, bool bFirst, bool bLast);
// Whether a rectangle DrawDragRect drew is on the screen now.
bool DragRectShown() noexcept;

}  // namespace ferryl
