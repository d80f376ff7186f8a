#include "mainwindow/form_controls.h"

#include "common/twips.h"

namespace ferryl {

UniqueFont CreateFormFont() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return UniqueFont(::CreateFontW(-::MulDiv(825, dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"));
}

HWND CreateFormControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, long left,
                       long top, long width, long height, HFONT font) {
    const RECT r = TwipsRect(left, top, width, height);
    HWND control = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, r.left,
                                     r.top, r.right - r.left, r.bottom - r.top, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                     nullptr);
    if (control)
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

}  // namespace ferryl
