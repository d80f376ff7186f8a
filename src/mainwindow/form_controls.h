#pragma once
// What the program's two windows share in building their controls: the dialog font at a DPI, and
// child controls placed at positions designed in twips, placed again when the window's DPI changes.

#include <windows.h>

#include <vector>

#include "common/unique_handle.h"

namespace ferryl {

// Tahoma 8.25 points at `dpi`: the face Windows itself substitutes for "MS Sans Serif".
UniqueFont CreateFormFont(int dpi);

// The outer size of a window whose client area is `client` pixels, at `dpi` (the frame, caption
// and menu bar are as thick as the system draws them there).
SIZE OuterSizeForClient(SIZE client, DWORD style, DWORD exStyle, bool hasMenu, int dpi);

// The size a control needs to show its whole caption in its current font; nothing in either
// direction that it does not draw a caption in (an icon button, an edit box, a picture).
SIZE CaptionSize(HWND control, int dpi);

// A control's rectangle as designed, in twips.
struct TwipsBox {
    long left, top, width, height;
};

// The child controls of one window, each with the rectangle it was designed at in twips. A control
// whose caption needs more room in the current font than its design gives grows to fit it (to the
// right and down, never smaller than designed), so that no caption is clipped at any DPI.
class FormLayout {
  public:
    // A visible child control of `parent` at its designed place at `dpi`, with the font.
    HWND Add(HWND parent,
             const wchar_t* className,
             const wchar_t* text,
             DWORD style,
             int id,
             TwipsBox designed,
             int dpi,
             HFONT font);
    // Gives every control the font and places it again at `dpi`.
    void Place(int dpi, HFONT font) const;
    void Clear() noexcept { m_controls.clear(); }

  private:
    struct Designed {
        HWND control;
        TwipsBox box;
    };
    static void PlaceOne(const Designed& designed, int dpi);

    std::vector<Designed> m_controls;
};

}  // namespace ferryl
