#include "common/twips.h"

#include "common/system_function.h"
#include "common/unique_handle.h"

namespace ferryl {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kDesignDpi = 96;

int ScreenDpi(int index) {
    const WindowDC screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), index) : kDesignDpi;
    return dpi > 0 ? dpi : kDesignDpi;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up once: the function is missing before Windows 10 1607, and naming it would keep the
// program from starting there.
GetDpiForWindowFn GetDpiForWindowFunction() {
    static const GetDpiForWindowFn function = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    return function;
}

}  // namespace

int ScreenDpi() {
    return ScreenDpi(LOGPIXELSY);
}

int WindowDpi(HWND window) {
    if (GetDpiForWindowFn getDpi = GetDpiForWindowFunction(); getDpi && window) {
        // 0 for a window that is not (or no longer) there.
        if (const UINT dpi = getDpi(window); dpi > 0)
            return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

int ScaleForDpi(int pixels, int dpi) {
    return ::MulDiv(pixels, dpi, kDesignDpi);
}

int TwipsPerPixel(int dpi) {
    return kTwipsPerInch / (dpi > 0 ? dpi : kDesignDpi);
}

int TwipsToPixels(long twips, int dpi) {
    return ::MulDiv(twips, dpi, kTwipsPerInch);
}

long PixelsToTwips(int pixels, int dpi) {
    return ::MulDiv(pixels, kTwipsPerInch, dpi);
}

RECT TwipsRect(long left, long top, long width, long height, int dpi) {
    const int x = TwipsToPixels(left, dpi);
    const int y = TwipsToPixels(top, dpi);
    return RECT{x, y, x + TwipsToPixels(width, dpi), y + TwipsToPixels(height, dpi)};
}

int TwipsPerPixelX() {
    return TwipsPerPixel(ScreenDpi(LOGPIXELSX));
}

int TwipsPerPixelY() {
    return TwipsPerPixel(ScreenDpi(LOGPIXELSY));
}

int TwipsToPixelsX(long twips) {
    return TwipsToPixels(twips, ScreenDpi(LOGPIXELSX));
}

int TwipsToPixelsY(long twips) {
    return TwipsToPixels(twips, ScreenDpi(LOGPIXELSY));
}

long PixelsToTwipsX(int pixels) {
    return PixelsToTwips(pixels, ScreenDpi(LOGPIXELSX));
}

long PixelsToTwipsY(int pixels) {
    return PixelsToTwips(pixels, ScreenDpi(LOGPIXELSY));
}

RECT TwipsRect(long left, long top, long width, long height) {
    return TwipsRect(left, top, width, height, ScreenDpi());
}

}  // namespace ferryl
