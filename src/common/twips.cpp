#include "common/twips.h"

namespace ferryl {

namespace {

int ScreenDpi(int index) {
    HDC screen = ::GetDC(nullptr);
    int dpi = screen ? ::GetDeviceCaps(screen, index) : 96;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

int TwipsPerPixelX() {
    return 1440 / ScreenDpi(LOGPIXELSX);
}

int TwipsPerPixelY() {
    return 1440 / ScreenDpi(LOGPIXELSY);
}

int TwipsToPixelsX(long twips) {
    return ::MulDiv(twips, ScreenDpi(LOGPIXELSX), 1440);
}

int TwipsToPixelsY(long twips) {
    return ::MulDiv(twips, ScreenDpi(LOGPIXELSY), 1440);
}

long PixelsToTwipsX(int pixels) {
    return ::MulDiv(pixels, 1440, ScreenDpi(LOGPIXELSX));
}

long PixelsToTwipsY(int pixels) {
    return ::MulDiv(pixels, 1440, ScreenDpi(LOGPIXELSY));
}

RECT TwipsRect(long left, long top, long width, long height) {
    int x = TwipsToPixelsX(left);
    int y = TwipsToPixelsY(top);
    return RECT{x, y, x + TwipsToPixelsX(width), y + TwipsToPixelsY(height)};
}

}  // namespace ferryl
