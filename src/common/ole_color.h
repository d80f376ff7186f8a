#pragma once
// OLE colours: 0x00BBGGRR is a plain colour, 0x800000nn names system colour nn, and in the grid's
// cells -1 means "use the default".

#include <windows.h>

namespace ferryl {

using OleColor = long;

inline constexpr OleColor kDefaultColor = -1;

constexpr OleColor SystemColor(int index) {
    return static_cast<OleColor>(0x80000000u | static_cast<unsigned>(index));
}

constexpr bool IsSystemColor(OleColor color) {
    return (static_cast<unsigned long>(color) & 0xFF000000u) == 0x80000000u;
}

// The RGB value of an OLE colour (system colours looked up now), or -1 when it cannot be
// translated (the default marker included).
long TranslateColor(OleColor color, HPALETTE palette = nullptr);

}  // namespace ferryl
