#pragma once
// Twips (1/1440 inch) and pixels on the screen: the program's window geometry is designed in twips.

#include <windows.h>

namespace ferryl {

// Twips per pixel of the screen, across and down (15 at 96 dpi).
int TwipsPerPixelX();
int TwipsPerPixelY();

int TwipsToPixelsX(long twips);
int TwipsToPixelsY(long twips);
long PixelsToTwipsX(int pixels);
long PixelsToTwipsY(int pixels);

// A rectangle given in twips (left, top, width, height) as pixels.
RECT TwipsRect(long left, long top, long width, long height);

}  // namespace ferryl
