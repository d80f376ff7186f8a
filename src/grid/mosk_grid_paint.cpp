// MoskGrid: the painter. Each row is composed in a one-row buffer and copied to the screen with one
// BitBlt; only rows that hold a dirty cell are composed unless a full repaint was asked for, and a
// small scroll moves the screen bits and marks only what it uncovered.

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "common/continue_on_error.h"
#include "common/error.h"
#include "common/ole_color.h"
#include "grid/api_and_callbacks.h"
#include "grid/grid_accessible.h"
#include "grid/grid_picture.h"
#include "grid/header_control.h"
#include "grid/mosk_grid.h"
#include "grid/mosk_grid_sinks.h"

namespace ferryl {
namespace {

COLORREF ColorOf(long oColor, int fallbackIndex) {
    long color = TranslateColor(oColor);
    return color < 0 ? ::GetSysColor(fallbackIndex) : static_cast<COLORREF>(color);
}

// A brush for an OLE colour: system colours come from the system's own brushes, which must not be
// deleted, so the owning handle stays empty for them.
struct ColorBrush {
    UniqueBrush owned;
    HBRUSH brush = nullptr;
    ColorBrush(long oColor, int fallbackIndex) {
        if (IsSystemColor(oColor)) {
            brush = ::GetSysColorBrush(static_cast<int>(oColor & 0x1F));
        } else {
            owned.reset(::CreateSolidBrush(ColorOf(oColor, fallbackIndex)));
            brush = owned.get();
        }
    }
};

RECT Shrunk(RECT rc, int by) {
    ::InflateRect(&rc, -by, -by);
    return rc;
}

}  // namespace

// What one Draw shares between its rows and cells.
struct MoskGrid::tRowPaint {
    HDC dc = nullptr;  // the row buffer, or the control's DC without one
    bool buffered = false;
    long top = 0;  // row top in dc
    long bottom = 0;
    long rowTopData = 0;  // row top measured from the top of row 1
    bool lastVisibleRow = false;
    long lastCellRight = 0;  // right edge of the last painted cell
    bool lastCellHighlighted = false;
    long selStartCol = 0;  // display position of the first column with bIncludeInSelect
    long rowTextLeft = 0;
    long rowTextRight = 0;
    HBRUSH gridLineBrush = nullptr;
    HBRUSH highlightBrush = nullptr;
    COLORREF foreColor = 0;
    COLORREF highlightFore = 0;
};

long MoskGrid::HeaderVisibleHeight() const noexcept {
    return (m_bHeader && m_cHeader && m_cHeader->hWnd() && m_cHeader->Visible()) ? m_cHeader->Height() : 0;
}

HFONT MoskGrid::CellFontHandle(const tGridCell& cell) const noexcept {
    return cell.lFntIndex != 0 ? m_fonts.HandleAt(cell.lFntIndex) : nullptr;
}

std::wstring MoskGrid::CellShownText(const tGridCell& cell, const std::wstring& format) const {
    // Painting must not fail on a value: an object or an error value shows nothing, and a value the
    // format string cannot take shows as it is.
    const TaggedValue& value = cell.vText;
    if (value.IsEmpty() || value.IsError() || value.IsObject())
        return {};
    if (!format.empty()) {
        try {
            return value.Format(format, kFirstDaySunday, kFirstWeekJan1);
        } catch (const Error&) {
        }
    }
    try {
        return value.ToText();
    } catch (const Error&) {
        return {};
    }
}

void MoskGrid::BuildRowBuffer(long lHeight) {
    m_lRowBufferHeight = lHeight;
    if (!Hwnd())
        return;
    WindowDC screen(Hwnd());
    if (!m_hRowDC) {
        m_hRowDC.reset(::CreateCompatibleDC(screen.get()));
        if (!m_hRowDC)
            return;
    }
    if (m_hRowBitmap) {
        ::SelectObject(m_hRowDC.get(), m_hRowOldBitmap);
        m_hRowBitmap.reset();
        m_hRowOldBitmap = nullptr;
    }
    // As wide as the screen, so that no window width or horizontal scroll needs a rebuild.
    m_lRowBufferWidth = std::max(::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CXSCREEN));
    m_hRowBitmap.reset(::CreateCompatibleBitmap(screen.get(), m_lRowBufferWidth, std::max(lHeight, 1L)));
    if (!m_hRowBitmap)
        return;
    m_hRowOldBitmap = ::SelectObject(m_hRowDC.get(), m_hRowBitmap.get());
    ::SetTextColor(m_hRowDC.get(), ColorOf(m_oForeColor, COLOR_WINDOWTEXT));
    ::SetBkColor(m_hRowDC.get(), ColorOf(m_oBackColor, COLOR_WINDOW));
    ::SetBkMode(m_hRowDC.get(), TRANSPARENT);
    HGDIOBJ previous = ::SelectObject(m_hRowDC.get(), m_hFont.get());
    if (!m_hRowOldFont)
        m_hRowOldFont = previous;
    RECT all{0, 0, m_lRowBufferWidth, lHeight};
    ColorBrush back(m_oBackColor, COLOR_WINDOW);
    ::FillRect(m_hRowDC.get(), &all, back.brush);
}

void MoskGrid::FillBackground(HDC hdc, const RECT& rc, long xOffset, long yOffset) {
    auto picture = std::dynamic_pointer_cast<GridPicture>(m_oBackgroundPicture);
    if (picture && picture->Handle()) {
        UniqueMemoryDC source(::CreateCompatibleDC(hdc));
        SelectGuard select(source.get(), picture->Handle());
        // A tile may be a part of the picture, never more: BitBlt would read past the bitmap.
        long width =
            m_lBackgroundPictureWidth > 0 ? std::min(m_lBackgroundPictureWidth, picture->Width()) : picture->Width();
        long height = m_lBackgroundPictureHeight > 0 ? std::min(m_lBackgroundPictureHeight, picture->Height())
                                                     : picture->Height();
        TileArea(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, source.get(), width, height, xOffset,
                 yOffset);
        return;
    }
    ColorBrush brush(m_bEnabled ? m_oBackColor : SystemColor(COLOR_BTNFACE), COLOR_WINDOW);
    ::FillRect(hdc, &rc, brush.brush);
}

GridVisibleRange MoskGrid::GetVisibleRange() const {
    return m_model.VisibleRange(m_lScrollX, m_lScrollY, m_lVisibleWidth, m_lVisibleHeight);
}

void MoskGrid::Draw() {
    if (!m_bInDraw)
        m_lPaintedRows = 0;
    if (!m_bRedraw || !m_bUserMode || !Hwnd())
        return;
    // Adding a virtual row or showing a scroll bar calls back in here; the paint under way covers it.
    if (m_bInDraw) {
        m_bDirty = true;
        return;
    }
    {
        m_bInDraw = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{m_bInDraw};
        // A paint that met the end of the virtual rows, or under which the offsets moved, lays
        // everything out once more; the offsets settle within a pass or two.
        for (int pass = 0; pass < 3 && DrawRows(); ++pass) {
            m_bDirty = true;
            m_lPaintedRows = 0;
        }
    }
    // Screen readers hear of the changes once they are on the screen.
    m_access->Announce();
}

bool MoskGrid::DrawRows() {
    UpdateScrollRanges();
    // The screen shows the rows at the offsets of the last paint or the last ScrollDC. Offsets that
    // moved without the bits (a range that shrank moves the bar's position without a message, a
    // scroll during a paint, Clear) leave every row to be drawn again.
    if (m_lScrollX != m_tLastVisible.lScrollX || m_lScrollY != m_tLastVisible.lScrollY)
        m_bDirty = true;
    const long paintedX = m_lScrollX, paintedY = m_lScrollY;
    long headerHeight = HeaderVisibleHeight();
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    WindowDC screen(Hwnd());
    if (!screen)
        return false;

    tRowPaint rp;
    rp.buffered = m_hRowDC && m_hRowBitmap;
    rp.dc = rp.buffered ? m_hRowDC.get() : screen.get();
    std::optional<SelectGuard> unbufferedFont;
    if (!rp.buffered) {
        FillBackground(screen.get(), client, 0, -HeaderVisibleHeight());
        ::SetBkMode(screen.get(), TRANSPARENT);
        unbufferedFont.emplace(screen.get(), m_hFont.get());
    }
    ::SelectObject(rp.dc, m_hFont.get());
    GridVisibleRange range = GetVisibleRange();

    // Virtual mode: rows that are still to come fill the rest of the visible area.
    if (m_bVirtual && m_bMoreRows) {
        long rowBottom = range.lLastRow >= 1 && range.lLastRow <= Rows()
                             ? RowStartY(range.lLastRow) + m_model.Row(range.lLastRow).lHeight - m_lScrollY
                             : 0;
        while (rowBottom < m_lVisibleHeight) {
            ++range.lLastRow;
            rowBottom += m_lDefaultRowHeight;
        }
    }

    // Row-text geometry.
    for (long c = 1; c <= Columns(); ++c) {
        if (m_model.Column(c).bIncludeInSelect) {
            rp.selStartCol = c;
            break;
        }
    }
    if (rp.selStartCol > 0)
        rp.rowTextLeft = m_model.Column(rp.selStartCol).lStartX - m_lScrollX;
    long rowTextStartPos = m_lRowTextStartColumn != 0 ? m_model.PositionOf(m_lRowTextStartColumn) : 0;
    if (rowTextStartPos > 0)
        rp.rowTextLeft = m_model.Column(rowTextStartPos).lStartX - m_lScrollX;
    for (long c = 1; c <= Columns(); ++c) {
        const tGridColumn& column = m_model.Column(c);
        if (column.bVisible && !m_model.IsRowTextPosition(c) && c != rowTextStartPos)
            rp.rowTextRight = std::max(rp.rowTextRight, column.lStartX + column.lWidth - m_lScrollX);
    }

    UniqueBrush gridLineBrush;
    if (m_bGridLines) {
        if (m_bEnabled) {
            gridLineBrush.reset(::CreateSolidBrush(ColorOf(m_oGridLineColor, COLOR_BTNFACE)));
            rp.gridLineBrush = gridLineBrush.get();
        } else {
            rp.gridLineBrush = ::GetSysColorBrush(COLOR_GRAYTEXT);
        }
    }
    rp.foreColor = m_bEnabled ? ColorOf(m_oForeColor, COLOR_WINDOWTEXT) : ::GetSysColor(COLOR_GRAYTEXT);
    rp.highlightFore = ColorOf(m_oHighlightForeColor, COLOR_HIGHLIGHTTEXT);
    // One brush for every highlighted cell of this paint, not one per cell.
    UniqueBrush highlightBrush(::CreateSolidBrush(ColorOf(m_oHighlightBackColor, COLOR_HIGHLIGHT)));
    rp.highlightBrush = highlightBrush.get();
    ::SetTextColor(rp.dc, rp.foreColor);

    bool noMoreRowsMet = false;
    long recordedBottom = headerHeight - m_lScrollY + (range.lFirstRow <= Rows() ? RowStartY(range.lFirstRow) : 0);
    if (Rows() < 1)
        recordedBottom = headerHeight;
    for (long r = range.lFirstRow; r <= range.lLastRow; ++r) {
        if (r > Rows()) {
            if (Columns() < 1)
                return false;
            if (!m_bVirtual || !m_bMoreRows)
                break;
            if (!RequestVirtualRow(r)) {
                UpdateScrollRanges();
                noMoreRowsMet = true;
                break;
            }
            UpdateScrollRanges();
            if (!rp.buffered && m_hRowDC && m_hRowBitmap) {
                // The first row made the row buffer: go through it from now on.
                rp.buffered = true;
                rp.dc = m_hRowDC.get();
                ::SelectObject(rp.dc, m_hFont.get());
            }
        }
        const tGridRow& row = m_model.Row(r);
        if (!row.bVisible)
            continue;
        long rowTop = RowStartY(r);
        long screenTop = rowTop - m_lScrollY + headerHeight;
        rp.rowTopData = rowTop;
        rp.top = rp.buffered ? 0 : screenTop;
        rp.bottom = rp.top + row.lHeight;
        rp.lastVisibleRow = r == range.lLastRow || rowTop + row.lHeight >= m_lScrollY + m_lVisibleHeight;

        auto& cells = m_model.RowCells(r);
        if (!m_bDirty) {
            bool dirty = false;
            if (!row.bGroupRow) {
                for (long c = range.lFirstCol; c <= range.lLastCol; ++c) {
                    tGridCell& cell = m_model.CellAt(r, m_model.CellColumnAt(c));
                    dirty = dirty || cell.bDirty;
                    cell.bDirty = false;
                }
            }
            if (m_model.HasRowText()) {
                tGridCell& cell = m_model.CellAt(r, m_model.RowTextCellColumn());
                dirty = dirty || cell.bDirty;
                cell.bDirty = false;
            }
            if (!dirty) {
                recordedBottom = screenTop + row.lHeight;
                continue;
            }
        } else {
            for (auto& cell : cells)
                cell.bDirty = false;
        }
        ++m_lPaintedRows;
        if (rp.buffered) {
            RECT fill{0, 0, m_lRowBufferWidth, m_lRowBufferHeight};
            // The picture stays put in the view: rows and the area below them share its phase.
            FillBackground(rp.dc, fill, 0, rowTop - m_lScrollY);
        }
        rp.lastCellRight = 0;
        rp.lastCellHighlighted = false;
        if (!row.bGroupRow) {
            for (long c = range.lFirstCol; c <= range.lLastCol; ++c) {
                const tGridColumn& column = m_model.Column(c);
                if (!column.bVisible || m_model.IsRowTextPosition(c))
                    continue;
                DrawCell(rp, r, c);
            }
            if (!m_bGridLines && m_model.RowMode() && r == SelectedRow() && m_bDrawFocusRectangle && m_bHasFocus &&
                m_bEnabled && rp.selStartCol > 0) {
                const tGridCell& first = m_model.CellAt(r, m_model.CellColumnAt(rp.selStartCol));
                RECT focus{m_model.Column(rp.selStartCol).lStartX - m_lScrollX + first.lIndent, rp.top + 1,
                           rp.lastCellRight, rp.bottom};
                ::DrawFocusRect(rp.dc, &focus);
                m_model.MarkRowDirty(r);
            }
            if (m_bGridLines && rp.lastCellRight < m_lVisibleWidth + 32) {
                RECT rest{rp.lastCellRight, rp.top, m_lVisibleWidth + 32,
                          rp.lastVisibleRow ? rp.bottom : rp.bottom + 1};
                ::FrameRect(rp.dc, &rest, rp.gridLineBrush);
            }
        }
        if (m_model.HasRowText() && (m_model.RowMode() || row.bGroupRow))
            DrawRowText(rp, r);
        if (rp.buffered)
            ::BitBlt(screen.get(), 0, screenTop, client.right, row.lHeight, rp.dc, 0, 0, SRCCOPY);
        recordedBottom = screenTop + row.lHeight;
    }

    if (recordedBottom < client.bottom) {
        RECT below{0, std::max(recordedBottom, headerHeight), client.right, client.bottom};
        FillBackground(screen.get(), below, 0, -headerHeight);
    }
    ::SetTextColor(rp.dc, ColorOf(m_oForeColor, COLOR_WINDOWTEXT));
    m_model.RememberPaintedCurrent();
    m_bDirty = false;
    m_tLastVisible.lScrollX = paintedX;
    m_tLastVisible.lScrollY = paintedY;
    // The scroll range lost its room for one more row, or a virtual row moved the offsets while the
    // rows above it were already drawn.
    return noMoreRowsMet || m_lScrollX != paintedX || m_lScrollY != paintedY;
}

void MoskGrid::DrawCell(tRowPaint& rp, long lRow, long lPos) {
    const tGridColumn& column = m_model.Column(lPos);
    tGridCell& cell = m_model.CellAt(lRow, column.lCellColIndex);
    HDC dc = rp.dc;
    long left = column.lStartX - m_lScrollX;
    RECT rc{left + cell.lIndent, rp.top, left + column.lWidth, rp.bottom};
    rp.lastCellRight = rc.right;
    bool current = lRow == SelectedRow() && column.lCellColIndex == SelectedCol();

    bool highlighted = false;
    bool paintNormally = m_bEnabled && !cell.bSelected;
    if (cell.bSelected && m_bEnabled) {
        if (!column.bIncludeInSelect && lPos <= rp.selStartCol) {
            paintNormally = true;
        } else {
            highlighted = m_bHasFocus;
            RECT fill = m_bGridLines ? Shrunk(rc, 1) : rc;
            if (m_model.RowMode() && lPos > rp.selStartCol)
                fill.left -= cell.lIndent;
            if (m_model.RowMode() && !m_bGridLines)
                fill.top += 1;
            else if (current && m_bDrawFocusRectangle)
                fill = Shrunk(fill, 1);
            ::FillRect(dc, &fill, m_bHasFocus ? rp.highlightBrush : ::GetSysColorBrush(COLOR_BTNFACE));
        }
    }
    COLORREF textColor = rp.foreColor;
    if (paintNormally) {
        if (cell.lBackColor != -1) {
            RECT back = rc;
            back.left -= cell.lIndent;
            UniqueBrush brush(::CreateSolidBrush(ColorOf(cell.lBackColor, COLOR_WINDOW)));
            ::FillRect(dc, &back, brush.get());
        }
        if (cell.lForeColor != -1)
            textColor = ColorOf(cell.lForeColor, COLOR_WINDOWTEXT);
    }
    rp.lastCellHighlighted = highlighted;

    RECT text;
    if (m_bGridLines) {
        RECT frame{rc.left - cell.lIndent, rc.top, rc.right + 1, rp.lastVisibleRow ? rc.bottom : rc.bottom + 1};
        ::FrameRect(dc, &frame, rp.gridLineBrush);
        text = Shrunk(rc, 2);
    } else {
        text = Shrunk(rc, 1);
    }

    if (current && m_bDrawFocusRectangle && m_bHasFocus && m_bEnabled && (!m_model.RowMode() || m_bGridLines)) {
        RECT focus = Shrunk(text, -1);
        ::DrawFocusRect(dc, &focus);
        cell.bDirty = true;  // the next paint takes the dotted frame away again
    }

    bool selectedIcon = cell.bSelected && m_bHighlightSelectedIcons;
    bool disabledIcon = !m_bEnabled && m_bDisableIcons;
    for (long icon : {cell.lExtraIconIndex, cell.lIconIndex}) {
        if (icon < 0)
            continue;
        DrawImageListIcon(m_hImageList, icon, dc, text.left, text.top, m_lIconWidth, m_lIconHeight, selectedIcon, false,
                          disabledIcon);
        text.left += m_lIconWidth + 2;
    }

    std::wstring value = CellShownText(cell, column.sFmtString);
    if (!value.empty()) {
        SelectGuard font(dc, CellFontHandle(cell));
        ::SetTextColor(dc, highlighted ? rp.highlightFore : textColor);
        UINT format = DrawTextFormat(cell.eTextFormat);
        ::DrawTextW(dc, value.c_str(), -1, &text, format);
        if (!KeySearchText().empty() && m_bEnabled && lRow == SelectedRow() &&
            column.lCellColIndex == m_model.KeySearchColumn()) {
            // The typed prefix shows in normal colours inside the highlight.
            std::wstring prefix = value.substr(0, std::min(value.size(), KeySearchText().size()));
            ::SetBkMode(dc, OPAQUE);
            ::SetBkColor(dc, ColorOf(m_oBackColor, COLOR_WINDOW));
            ::SetTextColor(dc, rp.foreColor);
            ::DrawTextW(dc, prefix.c_str(), static_cast<int>(prefix.size()), &text,
                        format & ~DT_WORD_ELLIPSIS & ~DT_END_ELLIPSIS);
            ::SetBkMode(dc, TRANSPARENT);
        }
        ::SetTextColor(dc, rp.foreColor);
    }
}

void MoskGrid::DrawRowText(tRowPaint& rp, long lRow) {
    const tGridRow& row = m_model.Row(lRow);
    const tGridColumn& textColumn = m_model.Column(m_model.RowTextPosition());
    tGridCell& cell = m_model.CellAt(lRow, textColumn.lCellColIndex);
    HDC dc = rp.dc;
    RECT rc{rp.rowTextLeft, rp.top + (row.bGroupRow ? 1 : m_lDefaultRowHeight), rp.rowTextRight, rp.bottom};
    if (row.bGroupRow && row.lGroupStartColIndex != 0) {
        long pos = m_model.PositionOf(row.lGroupStartColIndex);
        if (pos > 0)
            rc.left = m_model.Column(pos).lStartX - m_lScrollX;
    }
    rc.left += cell.lIndent;
    if (rc.top >= rc.bottom)
        return;
    std::wstring value = CellShownText(cell, textColumn.sFmtString);
    bool highlighted = false;
    COLORREF textColor = rp.foreColor;
    if (m_bEnabled) {
        if (row.bGroupRow && cell.bSelected) {
            ::FillRect(dc, &rc, rp.highlightBrush);
            if (m_bDrawFocusRectangle && m_bHasFocus) {
                ::DrawFocusRect(dc, &rc);
                cell.bDirty = true;
            }
            highlighted = true;
        } else {
            if (cell.lBackColor != -1) {
                UniqueBrush brush(::CreateSolidBrush(ColorOf(cell.lBackColor, COLOR_WINDOW)));
                ::FillRect(dc, &rc, brush.get());
            }
            if (cell.lForeColor != -1)
                textColor = ColorOf(cell.lForeColor, COLOR_WINDOWTEXT);
        }
    }
    bool selectedIcon = cell.bSelected && m_bHighlightSelectedIcons;
    bool disabledIcon = !m_bEnabled && m_bDisableIcons;
    for (long icon : {cell.lExtraIconIndex, cell.lIconIndex}) {
        if (icon < 0)
            continue;
        DrawImageListIcon(m_hImageList, icon, dc, rc.left, rc.top, m_lIconWidth, m_lIconHeight, selectedIcon, false,
                          disabledIcon);
        rc.left += m_lIconWidth + 2;
    }
    if (value.empty())
        return;
    SelectGuard font(dc, CellFontHandle(cell));
    ::SetTextColor(dc, highlighted || (!row.bGroupRow && rp.lastCellHighlighted) ? rp.highlightFore : textColor);
    ::DrawTextW(dc, value.c_str(), static_cast<int>(value.size()), &rc, DrawTextFormat(cell.eTextFormat));
    ::SetTextColor(dc, rp.foreColor);
}

void MoskGrid::InvalidateVisibleCells(bool bForce) {
    if (Rows() < 1 || Columns() < 1 || !Hwnd())
        return;
    GridVisibleRange range = GetVisibleRange();
    long firstRow = std::max(range.lFirstRow - 1, 1L);
    long lastRow = std::min(range.lLastRow, Rows());
    bool full = bForce || m_bForceFullInvalidate || m_oBackgroundPicture != nullptr;
    if (!full) {
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        RECT area{0, HeaderVisibleHeight(), client.right, client.bottom};
        long dx = m_tLastVisible.lScrollX - range.lScrollX;
        long dy = m_tLastVisible.lScrollY - range.lScrollY;
        if (std::labs(dx) * 2 < area.right - area.left && std::labs(dy) * 2 < area.bottom - area.top) {
            if (dx != 0 || dy != 0) {
                WindowDC screen(Hwnd());
                ::ScrollDC(screen.get(), dx, dy, &area, &area, nullptr, nullptr);
            }
            // Mark what the move uncovered: a band of rows at the top or bottom, or of columns at a side.
            long bandTop = range.lScrollY, bandBottom = range.lScrollY;
            if (dy < 0) {
                bandTop = range.lScrollY + m_lVisibleHeight + dy;
                bandBottom = range.lScrollY + m_lVisibleHeight;
            } else if (dy > 0) {
                bandBottom = range.lScrollY + dy;
            }
            if (dy != 0) {
                for (long r = firstRow; r <= lastRow; ++r) {
                    long top = RowStartY(r);
                    if (top < bandBottom && top + m_model.Row(r).lHeight >= bandTop)
                        m_model.MarkRowDirty(r);
                }
            }
            if (dx != 0) {
                long left = dx < 0 ? range.lScrollX + m_lVisibleWidth + dx : range.lScrollX;
                long right = dx < 0 ? range.lScrollX + m_lVisibleWidth : range.lScrollX + dx;
                for (long c = range.lFirstCol; c <= range.lLastCol; ++c) {
                    const tGridColumn& column = m_model.Column(c);
                    if (column.lStartX >= right || column.lStartX + column.lWidth < left)
                        continue;
                    for (long r = firstRow; r <= lastRow; ++r)
                        m_model.CellAt(r, column.lCellColIndex).bDirty = true;
                }
                // Row text spans the columns; it is drawn again with any of them.
                if (m_model.HasRowText()) {
                    for (long r = firstRow; r <= lastRow; ++r)
                        m_model.MarkRowDirty(r);
                }
            }
        } else {
            full = true;
        }
    }
    if (full) {
        for (long r = firstRow; r <= lastRow; ++r)
            m_model.MarkRowDirty(r);
    }
    m_tLastVisible = range;
}

void MoskGrid::OnSize() noexcept {
    ContinueOnError(L"MoskGrid.OnSize", [&] {
        PositionHeader();
        m_bDirty = true;
        Draw();
    });
}

void MoskGrid::OnFocus(bool bHasFocus) noexcept {
    ContinueOnError(L"MoskGrid.OnFocus", [&] {
        m_bHasFocus = bHasFocus;
        InvalidateVisibleCells(true);
        Draw();
    });
}

void MoskGrid::Paint() noexcept {
    {
        PaintDC dc(Hwnd());
        if (!m_bRedraw || !m_bUserMode) {
            // Design mode: nothing but the background.
            RECT rc = dc.paint().rcPaint;
            ::FillRect(dc.get(), &rc, ::GetSysColorBrush(COLOR_WINDOW));
            return;
        }
    }
    // An owner's handler that throws during a paint leaves the rest for the next paint.
    ContinueOnError(L"MoskGrid.Paint", [&] {
        InvalidateVisibleCells(true);
        Draw();
    });
}

}  // namespace ferryl
