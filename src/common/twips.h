#pragma once
// Twips (1/1440 inch) and pixels: the program's window geometry is designed in twips. A window
// converts at its own DPI, which under per-monitor awareness is its monitor's and can change while
// it runs; the functions without a DPI use the screen's (the system DPI).

#include <windows.h>

namespace ferryl {

// The screen's (system) DPI, 96 when it cannot be read.
int ScreenDpi();
// The DPI a window is shown at: GetDpiForWindow where the system has it (Windows 10 1607 on),
// otherwise the screen's.
int WindowDpi(HWND window);
// A length designed in pixels at 96 DPI (a row height, an icon edge), at `dpi`.
int ScaleForDpi(int pixels, int dpi);

// Twips per pixel at `dpi` (15 at 96, 10 at 144).
int TwipsPerPixel(int dpi);
int TwipsToPixels(long twips, int dpi);
long PixelsToTwips(int pixels, int dpi);
// A rectangle given in twips (left, top, width, height) as pixels at `dpi`.
RECT TwipsRect(long left, long top, long width, long height, int dpi);

// Twips per pixel of the screen, across and down (15 at 96 dpi).
int TwipsPerPixelX();
int TwipsPerPixelY();

int TwipsToPixelsX(long twips);
int TwipsToPixelsY(long twips);
long PixelsToTwipsX(int pixels);
long PixelsToTwipsY(int pixels);

// A rectangle given in twips (left, top, width, height) as pixels of the screen.
RECT TwipsRect(long left, long top, long width, long height);

}  // namespace ferryl
