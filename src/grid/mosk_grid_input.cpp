// MoskGrid: focus, keyboard and mouse. Every handler first raises the matching event; KeyDown and
// MouseDown let the owner switch the default handling off. Nothing escapes a handler.

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/text.h"
#include "common/twips.h"
#include "grid/grid_layout.h"
#include "grid/mosk_grid.h"
#include "grid/mosk_grid_sinks.h"

namespace ferryl {
namespace {

constexpr short kShiftBit = 1;
constexpr short kCtrlBit = 2;
constexpr short kAltBit = 4;

// The Shift argument of the key events. A WM_SYSKEYDOWN or WM_SYSKEYUP says in its context bit
// (29) whether Alt is down; F10 alone comes as one without it.
short KeyShift(UINT message, LPARAM lParam) {
    short shift = 0;
    if (::GetKeyState(VK_SHIFT) < 0)
        shift |= kShiftBit;
    if (::GetKeyState(VK_CONTROL) < 0)
        shift |= kCtrlBit;
    bool system = message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
    if (::GetKeyState(VK_MENU) < 0 || (system && (lParam & (1 << 29))))
        shift |= kAltBit;
    return shift;
}

short MouseShift(WPARAM wParam) {
    short shift = 0;
    if (wParam & MK_SHIFT)
        shift |= kShiftBit;
    if (wParam & MK_CONTROL)
        shift |= kCtrlBit;
    if (::GetKeyState(VK_MENU) < 0)
        shift |= kAltBit;
    return shift;
}

}  // namespace

long MoskGrid::FirstVisibleRow() const noexcept {
    for (long r = 1; r <= Rows(); ++r)
        if (m_tRows[static_cast<size_t>(r)].bVisible)
            return r;
    return 0;
}

long MoskGrid::LastVisibleRow() const noexcept {
    for (long r = Rows(); r >= 1; --r)
        if (m_tRows[static_cast<size_t>(r)].bVisible)
            return r;
    return 0;
}

long MoskGrid::FirstVisibleColumn() const noexcept {
    for (long c = 1; c <= Columns(); ++c)
        if (m_tCols[static_cast<size_t>(c)].bVisible && !IsRowTextPosition(c))
            return m_tCols[static_cast<size_t>(c)].lCellColIndex;
    return 0;
}

long MoskGrid::LastVisibleColumn() const noexcept {
    for (long c = Columns(); c >= 1; --c)
        if (m_tCols[static_cast<size_t>(c)].bVisible && !IsRowTextPosition(c))
            return m_tCols[static_cast<size_t>(c)].lCellColIndex;
    return 0;
}

void MoskGrid::ScrollBy(long eBar, long lDelta) {
    if (!m_cScroll || !m_cScroll->Visible(eBar))
        return;
    long value = std::clamp(m_cScroll->Value(eBar) + lDelta, m_cScroll->Min(eBar), m_cScroll->Max(eBar));
    m_cScroll->Value(eBar, value);
}

void MoskGrid::FinishNavigation() {
    if (!ScrollCellIntoView(m_lSelectedRow, m_lSelectedCol))
        Draw();
}

void MoskGrid::ToggleCell(long lRow, long lCol) {
    if (m_bRowMode) {
        for (auto& cell : m_tCells[static_cast<size_t>(lRow)])
            SetCellSelected(lRow, cell, !cell.bSelected);
    } else {
        tGridCell& cell = CellAt(lRow, lCol);
        SetCellSelected(lRow, cell, !cell.bSelected);
    }
}

bool MoskGrid::MoveCurrentCell(long dc, long dr) {
    long rowTextCell = m_lRowTextCol > 0 ? m_tCols[static_cast<size_t>(m_lRowTextCol)].lCellColIndex : 0;
    if (dc != 0) {
        bool group = m_tRows[static_cast<size_t>(m_lSelectedRow)].bGroupRow;
        long pos = group ? (dc < 0 ? 0 : Columns() + 1) : FindColumn(TaggedValue(m_lSelectedCol));
        if (!group) {
            for (pos += dc; pos >= 1 && pos <= Columns(); pos += dc) {
                const tGridColumn& column = m_tCols[static_cast<size_t>(pos)];
                if (column.bVisible && !IsRowTextPosition(pos))
                    break;
                if (IsRowTextPosition(pos) && !m_bRowMode)
                    break;  // in cell mode the row text is a stop of its own
            }
            if (pos >= 1 && pos <= Columns()) {
                m_lSelectedCol = m_tCols[static_cast<size_t>(pos)].lCellColIndex;
                return true;
            }
        }
        // Off the row's end: the neighbouring visible row, at its far end.
        long r = m_lSelectedRow + (dc < 0 ? -1 : 1);
        while (r >= 1 && r <= Rows() && !m_tRows[static_cast<size_t>(r)].bVisible)
            r += dc < 0 ? -1 : 1;
        if (r < 1 || r > Rows())
            return false;
        m_lSelectedRow = r;
        if (m_tRows[static_cast<size_t>(r)].bGroupRow && rowTextCell > 0)
            m_lSelectedCol = rowTextCell;
        else
            m_lSelectedCol = dc < 0 ? LastVisibleColumn() : FirstVisibleColumn();
        return true;
    }
    long r = m_lSelectedRow;
    for (long i = 0; i < Rows(); ++i) {
        r += dr;
        if (r < 1 || r > Rows())
            return false;
        if (m_tRows[static_cast<size_t>(r)].bVisible)
            break;
    }
    bool fromRowText = rowTextCell > 0 && m_lSelectedCol == rowTextCell;
    m_lSelectedRow = r;
    if (m_tRows[static_cast<size_t>(r)].bGroupRow && rowTextCell > 0)
        m_lSelectedCol = rowTextCell;
    else if (fromRowText)
        m_lSelectedCol = FirstVisibleColumn();
    return true;
}

void MoskGrid::PageSelect(long lTarget, short Shift, bool bDown) {
    if (!m_bMultiSelect) {
        m_lSelectedRow = lTarget;
        SelectCurrentOnly();
        return;
    }
    if (Shift & kShiftBit) {
        long step = lTarget > m_lSelectedRow ? 1 : -1;
        for (long r = m_lSelectedRow + step; lTarget != m_lSelectedRow && r != lTarget + step; r += step)
            ToggleCell(r, m_lSelectedCol);
        m_lSelectedRow = lTarget;
    } else if ((Shift & kCtrlBit) || (bDown && Shift != 0)) {
        m_lSelectedRow = lTarget;
    } else if (Shift == 0) {
        m_lSelectedRow = lTarget;
        if (m_bRowMode)
            SelectOnlyRow(lTarget);
        else
            SelectOnlyCell(lTarget, m_lSelectedCol);
    }
}

void MoskGrid::OnKeyMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    short KeyCode = static_cast<short>(wParam);
    short Shift = KeyShift(message, lParam);
    if (message == WM_KEYDOWN) {
        OnKeyDown(KeyCode, Shift);
        return;
    }
    try {
        if (message == WM_SYSKEYDOWN) {
            // The owner hears Alt+key as it hears any key; the grid's own keys are the plain ones.
            if (!m_bEnabled)
                return;
            bool bDoDefault = Rows() >= 1 && Columns() >= 1;
            m_listener->KeyDown(KeyCode, Shift, bDoDefault);
        } else {
            m_listener->KeyUp(KeyCode, Shift);
        }
    } catch (...) {
    }
}

void MoskGrid::OnKeyDown(short KeyCode, short Shift) noexcept {
    try {
        if (KeyCode == VK_TAB) {
            if (Shift & kShiftBit)
                KeyCode = m_bRowMode ? VK_UP : VK_LEFT;
            else
                KeyCode = m_bRowMode ? VK_DOWN : VK_RIGHT;
        }
        if (!m_bEnabled) {
            // A disabled grid only scrolls.
            long vSmall = m_cScroll ? m_cScroll->SmallChange(cScrollBars::kVertical) : 0;
            long hSmall = m_cScroll ? m_cScroll->SmallChange(cScrollBars::kHorizontal) : 0;
            long vLarge = m_cScroll ? m_cScroll->LargeChange(cScrollBars::kVertical) : 0;
            switch (KeyCode) {
                case VK_UP: ScrollBy(cScrollBars::kVertical, -vSmall); break;
                case VK_DOWN: ScrollBy(cScrollBars::kVertical, vSmall); break;
                case VK_LEFT: ScrollBy(cScrollBars::kHorizontal, -hSmall); break;
                case VK_RIGHT: ScrollBy(cScrollBars::kHorizontal, hSmall); break;
                case VK_PRIOR: ScrollBy(cScrollBars::kVertical, -vLarge); break;
                case VK_NEXT: ScrollBy(cScrollBars::kVertical, vLarge); break;
                default: break;
            }
            return;
        }
        bool bDoDefault = Rows() >= 1 && Columns() >= 1;
        m_listener->KeyDown(KeyCode, Shift, bDoDefault);
        if (!bDoDefault || Rows() < 1 || Columns() < 1 || m_lSelectedRow < 1 || m_lSelectedCol < 1)
            return;
        KeyDownDefault(KeyCode, Shift);
    } catch (...) {
    }
}

void MoskGrid::KeyDownDefault(short KeyCode, short Shift) {
    long oldRow = m_lSelectedRow, oldCol = m_lSelectedCol;
    bool scrollSideways = false;
    if ((KeyCode == VK_LEFT || KeyCode == VK_RIGHT) && Shift == 0 &&
        m_tRows[static_cast<size_t>(m_lSelectedRow)].bGroupRow && m_cScroll &&
        m_cScroll->Visible(cScrollBars::kHorizontal)) {
        long value = m_cScroll->Value(cScrollBars::kHorizontal);
        scrollSideways = KeyCode == VK_LEFT ? value > 0 : value < m_cScroll->Max(cScrollBars::kHorizontal);
    }
    bool navigated = false;
    auto selectionRule = [&] {
        if (!m_bMultiSelect) {
            SelectCurrentOnly();
        } else if (Shift & kShiftBit) {
            ToggleCell(m_lSelectedRow, m_lSelectedCol);
        } else if (Shift == 0) {
            if (m_bRowMode)
                SelectOnlyRow(m_lSelectedRow);
            else
                SelectOnlyCell(m_lSelectedRow, m_lSelectedCol);
        }
        CellAt(m_lSelectedRow, m_lSelectedCol).bDirty = true;
        navigated = true;
    };
    switch (KeyCode) {
        case VK_SPACE:
            if ((Shift & kCtrlBit) && m_bMultiSelect) {
                ClearKeySearch();
                ToggleCell(m_lSelectedRow, m_lSelectedCol);
                Draw();
                RequestCellEdit();
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
            ClearKeySearch();
            if (m_bRowMode || scrollSideways) {
                long step = m_cScroll ? m_cScroll->SmallChange(cScrollBars::kHorizontal) : 0;
                ScrollBy(cScrollBars::kHorizontal, KeyCode == VK_LEFT ? -step : step);
            } else if (MoveCurrentCell(KeyCode == VK_LEFT ? -1 : 1, 0)) {
                selectionRule();
            }
            break;
        case VK_UP:
        case VK_DOWN:
            ClearKeySearch();
            if ((KeyCode == VK_UP ? m_lSelectedRow >= 2 : m_lSelectedRow < Rows()) &&
                MoveCurrentCell(0, KeyCode == VK_UP ? -1 : 1))
                selectionRule();
            break;
        case VK_PRIOR:
        case VK_NEXT: {
            ClearKeySearch();
            const tGridRow& current = m_tRows[static_cast<size_t>(m_lSelectedRow)];
            long target = m_lSelectedRow;
            if (KeyCode == VK_PRIOR) {
                long limit = RowStartY(m_lSelectedRow) + current.lHeight - m_lVisibleHeight;
                long r = m_lSelectedRow;
                for (;;) {
                    --r;
                    if (r < 1) {
                        target = FirstVisibleRow();
                        break;
                    }
                    if (m_tRows[static_cast<size_t>(r)].bVisible) {
                        target = r;
                        if (RowStartY(r) < limit)
                            break;
                    }
                }
            } else {
                long limit = RowStartY(m_lSelectedRow) + m_lVisibleHeight - current.lHeight;
                long r = m_lSelectedRow;
                for (;;) {
                    ++r;
                    if (r > Rows()) {
                        target = LastVisibleRow();
                        break;
                    }
                    if (m_tRows[static_cast<size_t>(r)].bVisible) {
                        target = r;
                        if (RowStartY(r) > limit)
                            break;
                    }
                }
            }
            if (target >= 1) {
                PageSelect(target, Shift, KeyCode == VK_NEXT);
                navigated = true;
            }
            break;
        }
        case VK_HOME:
        case VK_END: {
            ClearKeySearch();
            long target = KeyCode == VK_HOME ? FirstVisibleRow() : LastVisibleRow();
            if (target < 1)
                break;
            if (m_bMultiSelect && (Shift & kShiftBit)) {
                // The span from the old current row to the new one is toggled, the old row left as it is.
                long step = target > m_lSelectedRow ? 1 : -1;
                for (long r = m_lSelectedRow + step; target != m_lSelectedRow && r != target + step; r += step)
                    ToggleCell(r, m_lSelectedCol);
                m_lSelectedRow = target;
            } else {
                m_lSelectedRow = target;
                if (m_bMultiSelect) {
                    if (m_bRowMode)
                        SelectOnlyRow(target);
                    else
                        SelectOnlyCell(target, m_lSelectedCol);
                } else {
                    SelectCurrentOnly();
                }
            }
            navigated = true;
            break;
        }
        case VK_RETURN:
            RequestCellEdit();
            break;
        case VK_ESCAPE:
            ClearKeySearch();
            CancelEdit();
            break;
        default:
            break;
    }
    if (navigated)
        FinishNavigation();
    if (m_lSelectedRow != oldRow || m_lSelectedCol != oldCol)
        m_listener->SelectionChange(m_lSelectedRow, m_lSelectedCol);
}

void MoskGrid::OnChar(wchar_t ch) noexcept {
    try {
        // KeyPress carries the UTF-16 unit as the 16-bit integer it always was; the search takes the
        // unit back whole, so that U+8000 and above (Hangul, much of CJK) are found too.
        short KeyAscii = static_cast<short>(ch);
        m_listener->KeyPress(KeyAscii);
        wchar_t unit = static_cast<wchar_t>(static_cast<unsigned short>(KeyAscii));
        wchar_t high = std::exchange(m_pendingHighSurrogate, L'\0');
        if (IS_HIGH_SURROGATE(unit)) {
            // The system sends a character beyond U+FFFF as two WM_CHARs: the search waits for both.
            m_pendingHighSurrogate = unit;
        } else if (IS_LOW_SURROGATE(unit)) {
            if (high)
                KeySearch(std::wstring{high, unit});
        } else if (unit == L'\b' || unit >= L' ') {
            // Tab, Enter and Escape do not search.
            KeySearch(std::wstring(1, unit));
        }
    } catch (...) {
    }
}

void MoskGrid::ClearKeySearch() {
    if (!m_sKeySearch.empty())
        KeySearchText(std::wstring());
}

void MoskGrid::KeySearch(const std::wstring& typed) {
    if (m_bEditable || !m_bEnabled || m_lKeySearchColumn < 1 || m_lKeySearchColumn > Columns() || Rows() < 1)
        return;
    DWORD now = ::GetTickCount();
    if (now - m_lastKeySearchTick > kKeySearchPauseMs)
        ClearKeySearch();
    m_lastKeySearchTick = now;
    std::wstring previous = m_sKeySearch;
    std::wstring text = previous;
    if (typed == L"\b") {
        if (!text.empty())
            text.pop_back();
        if (!text.empty() && IS_HIGH_SURROGATE(text.back()))
            text.pop_back();  // the whole character beyond U+FFFF goes
    } else {
        text += typed;
    }
    if (text.empty()) {
        KeySearchText(text);
        return;
    }
    text = ToUpper(text);
    auto find = [&](const std::wstring& search) -> long {
        // A longer prefix first tries the row it already stands on.
        if (search.size() > 1 && m_lSelectedRow >= 1 && m_lSelectedRow <= Rows() &&
            m_tRows[static_cast<size_t>(m_lSelectedRow)].bVisible) {
            std::wstring current = CellFormattedText(m_lSelectedRow, m_lKeySearchColumn);
            if (current.size() >= search.size() && StartsWithNoCase(current, search))
                return m_lSelectedRow;
        }
        return FindSearchMatchRow(search, true, true);
    };
    long row = find(text);
    if (row < 1) {
        if (previous.empty())
            return;
        text = ToUpper(previous);
        row = find(text);
        if (row < 1)
            return;
    }
    long oldRow = m_lSelectedRow, oldCol = m_lSelectedCol;
    // The prefix showed in the old current row; it shows in the found one from now on.
    if (oldRow >= 1 && oldRow <= Rows())
        MarkRowDirty(oldRow);
    m_lSelectedRow = row;
    m_lSelectedCol = m_lKeySearchColumn;
    if (m_bMultiSelect) {
        if (m_bRowMode)
            SelectOnlyRow(row);
        else
            SelectOnlyCell(row, m_lSelectedCol);
    } else {
        SelectCurrentOnly();
    }
    m_sKeySearch = text;
    MarkRowDirty(row);
    // The prefix goes from the screen after the pause, as the next key would start afresh then.
    ::SetTimer(Hwnd(), kKeySearchTimer, kKeySearchPauseMs, nullptr);
    FinishNavigation();
    if (m_lSelectedRow != oldRow || m_lSelectedCol != oldCol)
        m_listener->SelectionChange(m_lSelectedRow, m_lSelectedCol);
}

void MoskGrid::OnMouseDown(short Button, WPARAM wParam, LPARAM lParam) noexcept {
    try {
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
        MouseDownDefault(Shift, std::lround(x / TwipsPerPixel(m_lDpi)), std::lround(y / TwipsPerPixel(m_lDpi)));
    } catch (...) {
    }
}

void MoskGrid::MouseDownDefault(short Shift, long xPixels, long yPixels) {
    ClearKeySearch();
    m_bMouseDown = true;
    long oldRow = m_lSelectedRow, oldCol = m_lSelectedCol;
    long lRow = 0, lCol = 0;
    if (Rows() >= 1 && Columns() >= 1)
        CellFromPoint(xPixels, yPixels, lRow, lCol);
    if (lRow >= 1 && lCol >= 1) {
        if (!(Shift & kShiftBit)) {
            m_lSelectedRow = lRow;
            m_lSelectedCol = lCol;
        } else {
            if (m_lSelectedRow < 1 || m_lSelectedCol < 1) {
                m_lSelectedRow = lRow;
                m_lSelectedCol = lCol;
            }
            if (m_bMultiSelect) {
                if (lRow == m_lSelectedRow && lCol == m_lSelectedCol) {
                    RequestCellEdit();
                    return;
                }
                long r1 = std::min(lRow, m_lSelectedRow), r2 = std::max(lRow, m_lSelectedRow);
                long p1 = FindColumn(TaggedValue(lCol)), p2 = FindColumn(TaggedValue(m_lSelectedCol));
                if (p1 > p2)
                    std::swap(p1, p2);
                // The rectangle is in display positions; the cells are kept by cell column.
                std::vector<bool> insideColumn(static_cast<size_t>(Columns()) + 1, m_bRowMode);
                for (long p = p1; !m_bRowMode && p <= p2; ++p)
                    insideColumn[static_cast<size_t>(m_tCols[static_cast<size_t>(p)].lCellColIndex)] = true;
                UnselectAllBut(
                    [&](long r, long c) { return r >= r1 && r <= r2 && insideColumn[static_cast<size_t>(c)]; });
                for (long r = r1; r <= r2; ++r) {
                    for (long c = 1; c <= Columns(); ++c) {
                        if (insideColumn[static_cast<size_t>(c)])
                            SetCellSelected(r, CellAt(r, c), true);
                    }
                }
                FinishNavigation();
                return;
            }
        }
        // The cell that was current at the last paint, clicked again: an edit, not a selection.
        if (lRow == m_lPrevSelRow && lCol == m_lPrevSelCol) {
            RequestCellEdit();
            return;
        }
        if (!m_bMultiSelect) {
            SelectCurrentOnly();
        } else if (Shift & kCtrlBit) {
            ToggleCell(lRow, lCol);
        } else if (m_bRowMode) {
            SelectOnlyRow(lRow);
        } else {
            bool wasSelected = CellAt(lRow, lCol).bSelected;
            SelectOnlyCell(lRow, lCol);
            // A plain click toggles the clicked cell while clearing every other one.
            SetCellSelected(lRow, CellAt(lRow, lCol), !wasSelected);
        }
        FinishNavigation();
    }
    if (m_lSelectedRow != oldRow || m_lSelectedCol != oldCol)
        m_listener->SelectionChange(m_lSelectedRow, m_lSelectedCol);
}

void MoskGrid::OnMouseMoveOrUp(UINT message, short Button, WPARAM wParam, LPARAM lParam) noexcept {
    try {
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
    } catch (...) {
    }
}

void MoskGrid::OnDblClick() noexcept {
    try {
        if (!m_bEnabled)
            return;
        m_listener->DblClick(m_lSelectedRow, m_lSelectedCol);
        if (m_lSelectedRow >= 1 && m_lSelectedRow <= Rows() && m_lSelectedCol >= 1 && m_lSelectedCol <= Columns())
            RequestCellEdit();
    } catch (...) {
    }
}

void MoskGrid::OnMouseWheel(WPARAM wParam) noexcept {
    try {
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
    } catch (...) {
    }
}

}  // namespace ferryl
