#include "grid/api_and_callbacks.h"

#include "common/ole_color.h"
#include "common/unique_handle.h"

#include <algorithm>

namespace ferryl {

void DrawImageListIcon(HIMAGELIST hIml,
                       long iIndex,
                       HDC hdc,
                       int x,
                       int y,
                       int cx,
                       int cy,
                       bool bSelected,
                       bool bBlend,
                       bool bDisabled,
                       long oBlendColor,
                       HIMAGELIST hOverrideIml) {
    if (iIndex < 0)
        return;
    HIMAGELIST list = hOverrideIml ? hOverrideIml : hIml;
    if (!list)
        return;
    UINT flags = ILD_TRANSPARENT;
    if (bSelected || bBlend)
        flags |= ILD_SELECTED;
    if (bBlend) {
        long color = TranslateColor(oBlendColor);
        if (color < 0)
            color = TranslateColor(static_cast<long>(0x80000005));
        ::ImageList_DrawEx(list, static_cast<int>(iIndex), hdc, x, y, cx, cy, CLR_NONE, static_cast<COLORREF>(color),
                           flags);
    } else if (bDisabled) {
        UniqueIcon icon(::ImageList_GetIcon(hIml ? hIml : list, static_cast<int>(iIndex), ILD_NORMAL));
        if (icon)
            ::DrawStateW(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.get()), 0, x, y, cx, cy,
                         DST_ICON | DSS_DISABLED);
    } else {
        ::ImageList_Draw(list, static_cast<int>(iIndex), hdc, x, y, flags);
    }
}

void TileArea(HDC hdcDest,
              int x,
              int y,
              int width,
              int height,
              HDC hdcSrc,
              int srcWidth,
              int srcHeight,
              int xOffset,
              int yOffset) {
    if (srcWidth <= 0 || srcHeight <= 0 || width <= 0 || height <= 0)
        return;
    // The remainder of a negative sum would start the tile outside the picture.
    auto wrap = [](int value, int size) { return ((value % size) + size) % size; };
    int srcY = wrap(y + yOffset, srcHeight);
    for (int top = y; top < y + height;) {
        int tileHeight = std::min(srcHeight - srcY, y + height - top);
        int srcX = wrap(x + xOffset, srcWidth);
        for (int left = x; left < x + width;) {
            int tileWidth = std::min(srcWidth - srcX, x + width - left);
            ::BitBlt(hdcDest, left, top, tileWidth, tileHeight, hdcSrc, srcX, srcY, SRCCOPY);
            left += tileWidth;
            srcX = 0;
        }
        top += tileHeight;
        srcY = 0;
    }
}

void FontToLogFont(const GridFont& oFont, HDC hdc, LOGFONTW& tLF) {
    tLF = oFont.ToLogFont(hdc);
}

namespace {
RECT g_dragRect{};
// Whether g_dragRect is on the screen now: XOR-drawing it again when it is not would leave a line.
bool g_dragShown = false;
}  // namespace

void DrawDragRect(const RECT& rc, bool bFirst, bool bLast) {
    HDC raw = ::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!raw)
        return;
    UniqueMemoryDC dc(raw);  // DeleteDC is the release for a CreateDC context too
    int previousRop = ::SetROP2(dc.get(), R2_NOTXORPEN);
    SelectGuard brush(dc.get(), ::GetStockObject(NULL_BRUSH));
    if (!bFirst && g_dragShown)
        ::Rectangle(dc.get(), g_dragRect.left, g_dragRect.top, g_dragRect.right, g_dragRect.bottom);
    if (!bLast)
        ::Rectangle(dc.get(), rc.left, rc.top, rc.right, rc.bottom);
    g_dragShown = !bLast;
    g_dragRect = rc;
    ::SetROP2(dc.get(), previousRop);
}

bool DragRectShown() noexcept {
    return g_dragShown;
}

}  // namespace ferryl
