#include "mainwindow/about_form.h"

#include <shellapi.h>

#include "common/twips.h"
#include "mainwindow/about_text.h"
#include "mainwindow/form_controls.h"
#include "mainwindow/resource.h"
#include "mainwindow/version_info.h"
#include "winsvc/modal_loop.h"

namespace ferryl {

namespace {

constexpr wchar_t kClassName[] = L"FerrylAboutF";
constexpr int kHomePageId = 101;
constexpr int kDonationsId = 102;

// The frame's children are designed relative to the frame.
constexpr long kFrameLeft = 3720;
constexpr long kFrameTop = 120;

}  // namespace

bool AboutF::Load() {
    if (IsLoaded())
        return true;
    RegisterWindowClass(kClassName, 0, ::GetSysColorBrush(COLOR_BTNFACE));
    // No caption and no control box: only a thin fixed border around the client area.
    DWORD style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    RECT outer = TwipsRect(0, 0, 7185, 2790);
    ::AdjustWindowRectEx(&outer, style, FALSE, 0);
    if (!CreateHandle(kClassName, L"About Ferryl Handler", style, 0, 0, 0, outer.right - outer.left,
                      outer.bottom - outer.top))
        return false;

    m_font = CreateFormFont();

    // Created in tab order, which is also the order the dialog keys walk.
    m_cbClose = AddControl(L"BUTTON", L"&Close", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 2865, 2280, 1455, 375);
    m_LabelAbout = AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, -1, 240, 240, 3135, 1455);
    m_Frame = AddControl(L"BUTTON", L"On the Internet", BS_GROUPBOX, -1, kFrameLeft, kFrameTop, 3255, 1575);
    m_cbWebHomePage = AddControl(L"BUTTON", L"&Home Page", WS_TABSTOP | BS_PUSHBUTTON, kHomePageId,
                                 kFrameLeft + 240, kFrameTop + 360, 2775, 375);
    m_cbWebDonations = AddControl(L"BUTTON", L"&Make a Donation", WS_TABSTOP | BS_PUSHBUTTON, kDonationsId,
                                  kFrameLeft + 240, kFrameTop + 960, 2775, 375);
    m_pbFYH = AddControl(L"STATIC", L"", SS_ICON | SS_CENTERIMAGE, -1, 120, 2160, 495, 495);
    HANDLE icon = ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_FERRYL), IMAGE_ICON, 32, 32,
                               LR_SHARED);
    ::SendMessageW(m_pbFYH, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);

    Form_Load();
    return true;
}

HWND AboutF::AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int id, long left, long top,
                        long width, long height) {
    return CreateFormControl(Hwnd(), className, text, style, id, left, top, width, height, m_font.get());
}

void AboutF::Form_Load() {
    ProgramVersion version = ReadModuleVersion().value_or(ProgramVersion{});
    ::SetWindowTextW(m_LabelAbout, AboutText(version).c_str());
}

std::wstring AboutF::LabelText() const {
    int length = ::GetWindowTextLengthW(m_LabelAbout);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(m_LabelAbout, text.data(), length + 1)));
    return text;
}

void AboutF::ShowModal(HWND owner, POINT topLeft) {
    if (!Load())
        return;
    ::SetWindowPos(Hwnd(), HWND_TOP, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
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
        case WM_CLOSE:
            cbClose_Click();
            return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace ferryl
