// MoskGrid: focus, keyboard and mouse. Every handler first raises the matching event; KeyDown and
// MouseDown let the owner switch the default handling off. Nothing escapes a handler.

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "common/continue_on_error.h"
#include "common/twips.h"
#include "grid/mosk_grid.h"
#include "grid/mosk_grid_sinks.h"

namespace ferryl {
namespace {

// The Shift argument of the key events. A WM_SYSKEYDOWN or WM_SYSKEYUP says in its context bit
// (29) whether Alt is down; F10 alone comes as one without it.
short KeyShift(UINT message, LPARAM lParam) {
    short shift = 0;
    if (::GetKeyState(VK_SHIFT) < 0)
        shift |= kShiftMask;
    if (::GetKeyState(VK_CONTROL) < 0)
        shift |= kCtrlMask;
    bool system = message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
    if (::GetKeyState(VK_MENU) < 0 || (system && (lParam & (1 << 29))))
        shift |= kAltMask;
    return shift;
}

short MouseShift(WPARAM wParam) {
    short shift = 0;
    if (wParam & MK_SHIFT)
        shift |= kShiftMask;
    if (wParam & MK_CONTROL)
        shift |= kCtrlMask;
    if (::GetKeyState(VK_MENU) < 0)
        shift |= kAltMask;
    return shift;
}

}  // namespace

void MoskGrid::ScrollBy(long eBar, long lDelta) {
    if (!m_cScroll || !m_cScroll->Visible(eBar))
        return;
    long value = std::clamp(m_cScroll->Value(eBar) + lDelta, m_cScroll->Min(eBar), m_cScroll->Max(eBar));
    m_cScroll->Value(eBar, value);
}

void MoskGrid::FinishNavigation() {
    if (!ScrollCellIntoView(SelectedRow(), SelectedCol()))
        Draw();
}

bool MoskGrid::OnKeyMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // A WM_SYSCHAR comes right after its key down, before any other key message.
    m_bSysKeyHandled = false;
    short KeyCode = static_cast<short>(wParam);
    short Shift = KeyShift(message, lParam);
    if (message == WM_KEYDOWN) {
        OnKeyDown(KeyCode, Shift);
        return false;
    }
    bool handled = false;
    ContinueOnError(L"MoskGrid.OnKeyMessage", [&] {
        if (message == WM_SYSKEYDOWN) {
            // The owner hears Alt+key as it hears any key; the grid's own keys are the plain ones.
            if (!m_bEnabled)
                return;
            bool bDoDefault = Rows() >= 1 && Columns() >= 1;
            m_listener->KeyDown(KeyCode, Shift, bDoDefault);
            m_bSysKeyHandled = KeyCode == 0;
            handled = m_bSysKeyHandled;
            return;
        }
        m_listener->KeyUp(KeyCode, Shift);
    });
    return handled;
}

void MoskGrid::OnKeyDown(short KeyCode, short Shift) noexcept {
    ContinueOnError(L"MoskGrid.OnKeyDown", [&] {
        // Escape ends a divider drag as a lost mouse does.
        if (KeyCode == VK_ESCAPE && m_cHeader)
            m_cHeader->CancelTrack();
        // The owner sees the arrow Tab stands for.
        if (KeyCode == VK_TAB)
            KeyCode = static_cast<short>(TabAsArrow(Shift, m_model.RowMode()));
        if (!m_bEnabled) {
            // A disabled grid only scrolls.
            long vSmall = m_cScroll ? m_cScroll->SmallChange(cScrollBars::kVertical) : 0;
            long hSmall = m_cScroll ? m_cScroll->SmallChange(cScrollBars::kHorizontal) : 0;
            long vLarge = m_cScroll ? m_cScroll->LargeChange(cScrollBars::kVertical) : 0;
            switch (KeyCode) {
                case VK_UP:
                    ScrollBy(cScrollBars::kVertical, -vSmall);
                    break;
                case VK_DOWN:
                    ScrollBy(cScrollBars::kVertical, vSmall);
                    break;
                case VK_LEFT:
                    ScrollBy(cScrollBars::kHorizontal, -hSmall);
                    break;
                case VK_RIGHT:
                    ScrollBy(cScrollBars::kHorizontal, hSmall);
                    break;
                case VK_PRIOR:
                    ScrollBy(cScrollBars::kVertical, -vLarge);
                    break;
                case VK_NEXT:
                    ScrollBy(cScrollBars::kVertical, vLarge);
                    break;
                default:
                    break;
            }
            return;
        }
        bool bDoDefault = Rows() >= 1 && Columns() >= 1;
        m_listener->KeyDown(KeyCode, Shift, bDoDefault);
        if (!bDoDefault || Rows() < 1 || Columns() < 1 || !m_model.Current().Valid())
            return;
        KeyDownDefault(KeyCode, Shift);
    });
}

void MoskGrid::KeyDownDefault(short KeyCode, short Shift) {
    const GridCursor old = m_model.Current();
    const auto key = static_cast<GridKey>(KeyCode);
    GridKeyView view;
    view.visibleHeight = m_lVisibleHeight;
    if (m_cScroll && m_cScroll->Visible(cScrollBars::kHorizontal)) {
        const long value = m_cScroll->Value(cScrollBars::kHorizontal);
        view.canScrollLeft = value > 0;
        view.canScrollRight = value < m_cScroll->Max(cScrollBars::kHorizontal);
    }
    if (m_model.KeyClearsSearch(key, Shift))
        ClearKeySearch();
    const long sideways = m_cScroll ? m_cScroll->SmallChange(cScrollBars::kHorizontal) : 0;
    switch (m_model.Key(key, Shift, view)) {
        case GridAction::Navigated:
            FinishNavigation();
            break;
        case GridAction::Toggled:
            Draw();
            RequestCellEdit();
            break;
        case GridAction::Edit:
            RequestCellEdit();
            break;
        case GridAction::CancelEdit:
            CancelEdit();
            break;
        case GridAction::ScrollLeft:
            ScrollBy(cScrollBars::kHorizontal, -sideways);
            break;
        case GridAction::ScrollRight:
            ScrollBy(cScrollBars::kHorizontal, sideways);
            break;
        default:
            break;
    }
    SelectionChangedFrom(old);
}

void MoskGrid::OnChar(wchar_t ch) noexcept {
    ContinueOnError(L"MoskGrid.OnChar", [&] {
        // KeyPress carries the UTF-16 unit as the 16-bit integer it always was; the search takes the
        // unit back whole, so that U+8000 and above (Hangul, much of CJK) are found too.
        short KeyAscii = static_cast<short>(ch);
        m_listener->KeyPress(KeyAscii);
        if (auto typed = m_model.Search().Typed(static_cast<wchar_t>(static_cast<unsigned short>(KeyAscii))))
            KeySearchTyped(*typed);
    });
}

void MoskGrid::OnMouseDown(short Button, WPARAM wParam, LPARAM lParam) noexcept {
    ContinueOnError(L"MoskGrid.OnMouseDown", [&] {
        if (::GetFocus() != Hwnd())
            ::SetFocus(Hwnd());
        if (!m_bEnabled)
            return;
        short Shift = MouseShift(wParam);
        long xPixels = GET_X_LPARAM(lParam), yPixels = GET_Y_LPARAM(lParam);
        float x = static_cast<float>(xPixels * TwipsPerPixel(m_lDpi));
        float y = static_cast<float>(yPixels * TwipsPerPixel(m_lDpi));
        bool bDoDefault = true;
        m_listener->MouseDown(Button, Shift, x, y, bDoDefault);
        if (!bDoDefault)
            return;
        ::SetCapture(Hwnd());
        MouseDownDefault(Button, Shift, std::lround(x / TwipsPerPixel(m_lDpi)), std::lround(y / TwipsPerPixel(m_lDpi)));
    });
}

void MoskGrid::MouseDownDefault(short Button, short Shift, long xPixels, long yPixels) {
    ClearKeySearch();
    m_bMouseDown = true;
    const GridCursor old = m_model.Current();
    GridCursor at;
    if (Rows() >= 1 && Columns() >= 1)
        CellFromPoint(xPixels, yPixels, at.row, at.column);
    // The right button keeps a selection it presses on, for the context menu that follows.
    switch (Button == 2 ? m_model.ContextClick(at) : m_model.Click(at, Shift)) {
        case GridAction::Edit:
            RequestCellEdit();
            return;
        case GridAction::Navigated:
            FinishNavigation();
            break;
        default:
            break;
    }
    SelectionChangedFrom(old);
}

void MoskGrid::OnMouseMoveOrUp(UINT message, short Button, WPARAM wParam, LPARAM lParam) noexcept {
    ContinueOnError(L"MoskGrid.OnMouseMoveOrUp", [&] {
        if (!m_bEnabled)
            return;
        short Shift = MouseShift(wParam);
        float x = static_cast<float>(GET_X_LPARAM(lParam) * TwipsPerPixel(m_lDpi));
        float y = static_cast<float>(GET_Y_LPARAM(lParam) * TwipsPerPixel(m_lDpi));
        if (message == WM_MOUSEMOVE) {
            m_listener->MouseMove(Button, Shift, x, y);
            return;
        }
        if (::GetCapture() == Hwnd())
            ::ReleaseCapture();
        m_bMouseDown = false;
        m_listener->MouseUp(Button, Shift, x, y);
    });
}

void MoskGrid::OnDblClick() noexcept {
    ContinueOnError(L"MoskGrid.OnDblClick", [&] {
        if (!m_bEnabled)
            return;
        m_listener->DblClick(SelectedRow(), SelectedCol());
        if (m_model.CurrentRowExists() && SelectedCol() >= 1 && SelectedCol() <= Columns())
            RequestCellEdit();
    });
}

void MoskGrid::OnMouseWheel(WPARAM wParam) noexcept {
    ContinueOnError(L"MoskGrid.OnMouseWheel", [&] {
        if (!m_cScroll || !m_cScroll->Visible(cScrollBars::kVertical))
            return;
        UINT lines = 3;
        ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        if (lines == 0)
            return;
        // Partial notches of precise wheels add up until they make a whole one.
        m_wheelRemainder += GET_WHEEL_DELTA_WPARAM(wParam);
        int notches = m_wheelRemainder / WHEEL_DELTA;
        m_wheelRemainder -= notches * WHEEL_DELTA;
        if (notches == 0)
            return;
        long step = lines == WHEEL_PAGESCROLL ? m_cScroll->LargeChange(cScrollBars::kVertical)
                                              : static_cast<long>(lines) * m_lDefaultRowHeight;
        CancelEdit();
        ScrollBy(cScrollBars::kVertical, -notches * step);
    });
}

}  // namespace ferryl
