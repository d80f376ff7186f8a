#include "mainwindow/form_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "common/system_function.h"
#include "common/twips.h"
#include "winsvc/window_text.h"

namespace ferryl {

namespace {

bool IsClass(HWND window, const wchar_t* className) {
    wchar_t name[32]{};
    ::GetClassNameW(window, name, 32);
    return ::lstrcmpiW(name, className) == 0;
}

// The caption's extent in the control's font ("&" marks an access key and takes no room unless
// the control shows it as it is).
SIZE TextExtent(HWND control, const std::wstring& text, UINT format, int wrapWidth) {
    WindowDC dc(control);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    SelectGuard select(dc.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT rc{0, 0, wrapWidth, 0};
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rc, format | DT_CALCRECT);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

RECT Pixels(const TwipsBox& box, int dpi) {
    return TwipsRect(box.left, box.top, box.width, box.height, dpi);
}

}  // namespace

UniqueFont CreateFormFont(int dpi) {
    return UniqueFont(::CreateFontW(-::MulDiv(825, dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                    L"Tahoma"));
}

SIZE OuterSizeForClient(SIZE client, DWORD style, DWORD exStyle, bool hasMenu, int dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    // Looked up at run time: it is missing before Windows 10 1607.
    static const AdjustForDpiFn adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    RECT outer{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&outer, style, hasMenu, exStyle, static_cast<UINT>(dpi)))
        ::AdjustWindowRectEx(&outer, style, hasMenu, exStyle);
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

SIZE CaptionSize(HWND control, int dpi) {
    const std::wstring text = WindowText(control);
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    if (text.empty())
        return SIZE{0, 0};
    if (IsClass(control, WC_BUTTONW)) {
        // An icon or picture button draws no caption: its text is only its name for screen readers.
        if (style & (BS_ICON | BS_BITMAP))
            return SIZE{0, 0};
        const LONG type = style & BS_TYPEMASK;
        const SIZE text1 = TextExtent(control, text, DT_SINGLELINE, 0);
        if (type == BS_GROUPBOX)
            return SIZE{text1.cx + ScaleForDpi(16, dpi), 0};
        // The control's own measure where it has one (common controls 6); it knows its check box,
        // image and margins.
        SIZE ideal{0, 0};
        if (::SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) && ideal.cx > 0)
            return SIZE{ideal.cx, 0};
        const bool checkOrRadio = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
                                  type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
        // The check box, the gap after it and the focus rectangle; a push button's edges.
        return SIZE{text1.cx + ScaleForDpi(checkOrRadio ? 20 : 16, dpi), 0};
    }
    if (IsClass(control, WC_STATICW)) {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP)
            return SIZE{0, 0};
        RECT client{};
        ::GetClientRect(control, &client);
        UINT format = DT_EXPANDTABS | (style & SS_NOPREFIX ? DT_NOPREFIX : 0);
        // Wrapped at the control's width the lines need this height; the longest word or unwrapped
        // line needs the width.
        const SIZE wrapped = TextExtent(control, text, format | (type == SS_LEFTNOWORDWRAP ? 0 : DT_WORDBREAK),
                                        std::max<int>(client.right, 1));
        return SIZE{wrapped.cx, wrapped.cy};
    }
    return SIZE{0, 0};
}

HWND FormLayout::Add(HWND parent,
                     const wchar_t* className,
                     const wchar_t* text,
                     DWORD style,
                     int id,
                     TwipsBox designed,
                     int dpi,
                     HFONT font) {
    const RECT r = Pixels(designed, dpi);
    HWND control =
        ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, r.left, r.top,
                          r.right - r.left, r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          ::GetModuleHandleW(nullptr), nullptr);
    if (!control)
        return nullptr;
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    m_controls.push_back(Designed{control, designed});
    PlaceOne(m_controls.back(), dpi);
    return control;
}

void FormLayout::Place(int dpi, HFONT font) const {
    for (const Designed& designed : m_controls) {
        if (!::IsWindow(designed.control))
            continue;
        ::SendMessageW(designed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        PlaceOne(designed, dpi);
        ::InvalidateRect(designed.control, nullptr, TRUE);
    }
}

void FormLayout::PlaceOne(const Designed& designed, int dpi) {
    const RECT r = Pixels(designed.box, dpi);
    int width = r.right - r.left, height = r.bottom - r.top;
    // Measured at the designed size: a static's wrapping depends on its width.
    ::SetWindowPos(designed.control, nullptr, r.left, r.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT window{}, client{};
    ::GetWindowRect(designed.control, &window);
    ::GetClientRect(designed.control, &client);
    // A border (an edit box's client edge, a static's) takes room around the caption.
    const int frameX = (window.right - window.left) - client.right;
    const int frameY = (window.bottom - window.top) - client.bottom;
    const SIZE needed = CaptionSize(designed.control, dpi);
    const int fittedWidth = std::max(width, needed.cx > 0 ? static_cast<int>(needed.cx) + frameX : 0);
    const int fittedHeight = std::max(height, needed.cy > 0 ? static_cast<int>(needed.cy) + frameY : 0);
    if (fittedWidth != width || fittedHeight != height)
        ::SetWindowPos(designed.control, nullptr, 0, 0, fittedWidth, fittedHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ferryl
