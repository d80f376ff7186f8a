#include "mainwindow/about_form.h"

#include <shellapi.h>

#include "common/twips.h"
#include "core/about_text.h"
#include "mainwindow/form_controls.h"
#include "mainwindow/resource.h"
#include "mainwindow/version_info.h"
#include "winsvc/modal_loop.h"
#include "winsvc/window_text.h"

namespace ferryl {

namespace {

constexpr wchar_t kClassName[] = L"FerrylAboutF";
constexpr int kHomePageId = 101;
constexpr int kDonationsId = 102;

// The frame's children are designed relative to the frame.
constexpr long kFrameLeft = 3720;
constexpr long kFrameTop = 120;

constexpr long kClientWidth = 7185;
constexpr long kClientHeight = 2790;
// No caption and no control box: only a thin fixed border around the client area. Not
// WS_CLIPCHILDREN: a group box does not paint its inside, which the box's own background must.
constexpr DWORD kStyle = WS_POPUP | WS_BORDER;

}  // namespace

bool AboutF::Load() {
    if (IsLoaded())
        return true;
    RegisterWindowClass(kClassName, 0, ::GetSysColorBrush(COLOR_BTNFACE));
    if (!CreateHandle(kClassName, L"About Ferryl Handler", kStyle, 0, 0, 0, 0, 0))
        return false;
    m_dpi = WindowDpi(Hwnd());
    SizeToDesign();
    m_font = CreateFormFont(m_dpi);

    // Created in tab order, which is also the order the dialog keys walk.
    m_cbClose = AddControl(L"BUTTON", L"&Close", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, {2865, 2280, 1455, 375});
    m_LabelAbout = AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, -1, {240, 240, 3135, 1455});
    m_Frame = AddControl(L"BUTTON", L"On the Internet", BS_GROUPBOX, -1, {kFrameLeft, kFrameTop, 3255, 1575});
    m_cbWebHomePage = AddControl(L"BUTTON", L"&Home Page", WS_TABSTOP | BS_PUSHBUTTON, kHomePageId,
                                 {kFrameLeft + 240, kFrameTop + 360, 2775, 375});
    m_cbWebDonations = AddControl(L"BUTTON", L"&Make a Donation", WS_TABSTOP | BS_PUSHBUTTON, kDonationsId,
                                  {kFrameLeft + 240, kFrameTop + 960, 2775, 375});
    m_pbFYH = AddControl(L"STATIC", L"", SS_ICON | SS_CENTERIMAGE, -1, {120, 2160, 495, 495});
    // The frame goes under the buttons it holds: above them, it clipped them away (every control
    // clips its siblings). It takes no focus, so the tab order stays.
    ::SetWindowPos(m_Frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    LoadPicture();

    Form_Load();
    return true;
}

HWND AboutF::AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int id, TwipsBox designed) {
    return m_layout.Add(Hwnd(), className, text, style, id, designed, m_dpi, m_font.get());
}

void AboutF::SizeToDesign() {
    const RECT client = TwipsRect(0, 0, kClientWidth, kClientHeight, m_dpi);
    const SIZE outer = OuterSizeForClient(SIZE{client.right, client.bottom}, kStyle, 0, false, m_dpi);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutF::LoadPicture() {
    const int size = ScaleForDpi(32, m_dpi);
    UniqueIcon icon(static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_FERRYL), IMAGE_ICON, size, size, 0)));
    ::SendMessageW(m_pbFYH, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    // The old icon goes only once the picture no longer shows it.
    m_icon = std::move(icon);
}

void AboutF::ApplyDpi(int dpi) {
    m_dpi = dpi;
    UniqueFont font = CreateFormFont(dpi);
    m_layout.Place(dpi, font.get());
    // The controls use the new font now; the old one may go.
    m_font = std::move(font);
    LoadPicture();
}

void AboutF::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0)
        return;
    ApplyDpi(dpi);
    // The system's suggestion keeps the box where it was on the new monitor, scaled.
    ::SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutF::Form_Load() {
    ProgramVersion version = ReadModuleVersion().value_or(ProgramVersion{});
    ::SetWindowTextW(m_LabelAbout, AboutText(version).c_str());
    // The text came after the label was placed: it may need more room than designed.
    m_layout.Place(m_dpi, m_font.get());
}

std::wstring AboutF::LabelText() const {
    return WindowText(m_LabelAbout);
}

void AboutF::ShowModal(HWND owner, POINT topLeft) {
    if (!Load())
        return;
    ::SetWindowPos(Hwnd(), HWND_TOP, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    // Moved while hidden to a monitor of another scale (the main window went there since), the box
    // is laid out for it before it shows.
    if (const int dpi = WindowDpi(Hwnd()); dpi != m_dpi) {
        ApplyDpi(dpi);
        SizeToDesign();
    }
    ::SendMessageW(Hwnd(), DM_SETDEFID, IDOK, 0);
    ::SetFocus(m_cbClose);
    RunModal(Hwnd(), owner);
}

void AboutF::cbClose_Click() {
    // Hidden, not destroyed: the box stays loaded and counts among the program's windows.
    ::ShowWindow(Hwnd(), SW_HIDE);
}

void AboutF::cbWebHomePage_Click() {
    ::ShellExecuteW(Hwnd(), L"open", kHomePageUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

void AboutF::cbWebDonations_Click() {
    ::ShellExecuteW(Hwnd(), L"open", kDonationsUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT AboutF::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case IDCANCEL:  // Escape, as in any dialog box
                    cbClose_Click();
                    return 0;
                case kHomePageId:
                    cbWebHomePage_Click();
                    return 0;
                case kDonationsId:
                    cbWebDonations_Click();
                    return 0;
            }
            break;
        case DM_GETDEFID:
            return MAKELRESULT(IDOK, DC_HASDEFID);
        case WM_DPICHANGED:
            if (lParam)
                OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            cbClose_Click();
            return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace ferryl
