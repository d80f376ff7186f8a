// MoskGrid: where rows and columns lie, which cell is under a point, a cell's rectangle in twips,
// how much room a cell's text needs, sizing to contents and scrolling a cell into view.

#include <algorithm>
#include <cmath>

#include "common/twips.h"
#include "grid/grid_errors.h"
#include "grid/mosk_grid.h"
#include "grid/mosk_grid_sinks.h"

namespace ferryl {
namespace {

// A device context to measure in: the row buffer when there is one, else one like the screen.
class MeasureDC {
  public:
    MeasureDC(HDC rowBuffer, HFONT controlFont) {
        if (rowBuffer) {
            m_dc = rowBuffer;
        } else {
            m_own.reset(::CreateCompatibleDC(nullptr));
            m_dc = m_own.get();
            m_previous = ::SelectObject(m_dc, controlFont);
        }
    }
    ~MeasureDC() {
        if (m_own && m_previous)
            ::SelectObject(m_dc, m_previous);
    }
    MeasureDC(const MeasureDC&) = delete;
    MeasureDC& operator=(const MeasureDC&) = delete;
    HDC get() const noexcept { return m_dc; }

  private:
    UniqueMemoryDC m_own;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

}  // namespace

void MoskGrid::CellFromPoint(long xPixels, long yPixels, long& lRow, long& lCol) {
    lRow = m_model.RowAtY(yPixels - HeaderVisibleHeight() + m_lScrollY);
    // Below the last row the column under x is still reported.
    lCol = m_model.CellColumnAtX(xPixels + m_lScrollX, lRow);
}

void MoskGrid::CellBoundary(long lRow, long lCol, long& lLeft, long& lTop, long& lWidth, long& lHeight) {
    const tGridCell& cell = CheckedCell(lRow, lCol);
    long pos = m_model.PositionOf(lCol);
    if (pos < 1)
        RaiseGridError(kErrSubscriptOutOfRange);
    const tGridColumn& column = m_model.Column(pos);
    long offset =
        cell.lIndent + (cell.lIconIndex != -1 ? m_lIconWidth : 0) + (cell.lExtraIconIndex != -1 ? m_lIconWidth : 0);
    double tx = TwipsPerPixel(m_lDpi), ty = TwipsPerPixel(m_lDpi);
    lLeft = std::lround((column.lStartX - m_lScrollX + offset) * tx);
    lTop = std::lround((RowStartY(lRow) - m_lScrollY + HeaderVisibleHeight()) * ty);
    lWidth = std::lround((column.lWidth - offset) * tx);
    lHeight = std::lround(m_model.Row(lRow).lHeight * ty);
}

long MoskGrid::EvaluateTextHeight(long lRow, long lCol) {
    const tGridCell& cell = CheckedCell(lRow, lCol);
    long pos = m_model.PositionOf(lCol);
    long width = (pos > 0 ? m_model.Column(pos).lWidth : 0) - 4 - (m_bGridLines ? 2 : 0) - cell.lIndent;
    if (cell.lIconIndex >= 0)
        width -= m_lIconWidth + 2;
    if (cell.lExtraIconIndex >= 0)
        width -= m_lIconWidth + 2;
    std::wstring text = CellFormattedText(lRow, lCol);
    MeasureDC dc(m_hRowDC.get(), m_hFont.get());
    SelectGuard font(dc.get(), CellFontHandle(cell));
    RECT rc{0, 0, std::max(width, 0L), 0};
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rc,
                DrawTextFormat(cell.eTextFormat) | DT_CALCRECT);
    return rc.bottom - rc.top;
}

long MoskGrid::MeasureTextWidth(long lRow, long lCol, bool bNoModify, long lMinimum) {
    const tGridCell& cell = CheckedCell(lRow, lCol);
    UINT flags = DrawTextFormat(cell.eTextFormat) | DT_CALCRECT;
    if (bNoModify)
        flags &= ~static_cast<UINT>(DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_WORD_ELLIPSIS);
    std::wstring text = CellFormattedText(lRow, lCol);
    MeasureDC dc(m_hRowDC.get(), m_hFont.get());
    SelectGuard font(dc.get(), CellFontHandle(cell));
    auto measure = [&](long width) {
        RECT rc{0, 0, width, 0};
        ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rc, flags);
        return rc;
    };
    if (!(flags & DT_WORDBREAK)) {
        RECT rc = measure(0);
        return rc.right - rc.left;
    }
    long pos = m_model.PositionOf(lCol);
    long width = std::max(pos > 0 ? m_model.Column(pos).lWidth : 0, lMinimum);
    long rowHeight = m_model.Row(lRow).lHeight;
    RECT rc = measure(width);
    // Widen until the wrapped text fits the row; a bound keeps a row of 0 height from looping forever.
    for (int i = 0; rc.bottom - rc.top > rowHeight && i < 4096; ++i) {
        width += 16;
        rc = measure(width);
    }
    return rc.right - rc.left;
}

long MoskGrid::EvaluateTextWidth(long lRow, long lCol, bool bForceNoModify) {
    return MeasureTextWidth(lRow, lCol, bForceNoModify, 0);
}

long MoskGrid::WidestCellWidth(long lCol, long lFirstRow, long lLastRow) {
    long widest = 0, largest = 0;
    for (long r = std::max(lFirstRow, 1L); r <= std::min(lLastRow, Rows()); ++r) {
        if (!m_model.Row(r).bVisible)
            continue;
        const tGridCell& cell = m_model.CellAt(r, lCol);
        long t = MeasureTextWidth(r, lCol, true, largest);
        largest = std::max(largest, t);
        long w = t + cell.lIndent + (cell.lIconIndex >= 0 ? m_lIconWidth : 0) +
                 (cell.lExtraIconIndex >= 0 ? m_lIconWidth : 0) + 4 + (m_bGridLines ? 4 : 0);
        widest = std::max(widest, w);
    }
    return std::max(widest, 26L);
}

void MoskGrid::AutoWidthColumn(const TaggedValue& vKey) {
    long pos = FindColumn(vKey);
    if (pos < 1)
        RaiseGridError(kErrSubscriptOutOfRange, L"");
    long c = m_model.Column(pos).lCellColIndex;
    ColumnWidth(TaggedValue(c), WidestCellWidth(c, 1, Rows()));
}

void MoskGrid::WidenColumnToFit(const TaggedValue& vKey, long lFirstRow, long lLastRow) {
    long pos = FindColumn(vKey);
    if (pos < 1)
        RaiseGridError(kErrSubscriptOutOfRange, L"");
    long c = m_model.Column(pos).lCellColIndex;
    const long widest = WidestCellWidth(c, lFirstRow, lLastRow);
    if (widest <= m_model.Column(pos).lWidth)
        return;
    ColumnWidth(TaggedValue(c), widest);
}

void MoskGrid::AutoHeightRow(long lRow, long lMinimumHeight) {
    long minimum = lMinimumHeight >= 9 ? lMinimumHeight : (m_lDefaultRowHeight >= 9 ? m_lDefaultRowHeight : 8);
    if (lRow < 1 || lRow > Rows())
        RaiseGridError(kErrSubscriptOutOfRange, L"");
    long largest = 0;
    for (long c = 1; c <= Columns(); ++c) {
        long h = EvaluateTextHeight(lRow, c);
        if (m_model.CellAt(lRow, c).lIconIndex >= 0 && h < m_lIconHeight)
            h = m_lIconHeight;
        largest = std::max(largest, std::max(h, minimum));
    }
    RowHeight(lRow, largest + (m_bGridLines ? 2 : 0) + 2);
    m_bDirty = true;
    Draw();
}

void MoskGrid::EnsureVisible(long lRow, long lCol) {
    ValidateCell(lRow, lCol);
    const tGridRow& row = m_model.Row(lRow);
    if (!row.bVisible)
        return;
    // lCol is a cell column: its display position can differ after reordering.
    long pos = m_model.PositionOf(lCol);
    if (pos < 1)
        return;
    const tGridColumn& column = m_model.Column(pos);
    if (!column.bVisible && !row.bGroupRow)
        return;
    long target = lCol;
    if (m_model.IsRowTextPosition(pos) || row.bGroupRow) {
        target = m_lRowTextStartColumn;
        if (target == 0) {
            for (long c = 1; c <= Columns() && target == 0; ++c) {
                if (m_model.Column(c).bVisible && m_model.Column(c).bIncludeInSelect)
                    target = m_model.Column(c).lCellColIndex;
            }
        }
        if (target == 0)
            return;
    }
    if (!ScrollCellIntoView(lRow, target))
        Draw();
}

bool MoskGrid::ScrollCellIntoView(long lRow, long lCol) {
    if (!m_cScroll || lRow < 1 || lRow > Rows() || lCol < 1 || lCol > Columns())
        return false;
    if (!m_bRedraw) {
        m_lScrollIntoViewRow = lRow;
        m_lScrollIntoViewCol = lCol;
        return false;
    }
    UpdateScrollRanges();
    bool moved = false;
    const tGridRow& row = m_model.Row(lRow);
    long pos = m_model.PositionOf(lCol);
    if (pos > 0 && (!m_model.RowMode() || m_bMouseDown) && m_cScroll->Visible(cScrollBars::kHorizontal)) {
        long start, end;
        if (row.bGroupRow) {
            long groupCol = row.lGroupStartColIndex != 0 ? row.lGroupStartColIndex : m_lRowTextStartColumn;
            long groupPos = groupCol > 0 ? m_model.PositionOf(groupCol) : 0;
            start = groupPos > 0 ? m_model.Column(groupPos).lStartX : 0;
            end = start + 1;
        } else {
            start = m_model.Column(pos).lStartX;
            end = start + m_model.Column(pos).lWidth;
        }
        long target = ColumnScrollTarget(start, end, m_lScrollX, m_lVisibleWidth);
        if (target != m_lScrollX) {
            long before = m_cScroll->Value(cScrollBars::kHorizontal);
            m_cScroll->Value(cScrollBars::kHorizontal, std::max(target, 0L));
            moved = moved || m_cScroll->Value(cScrollBars::kHorizontal) != before;
        }
    }
    if (m_cScroll->Visible(cScrollBars::kVertical)) {
        long start = RowStartY(lRow);
        long target = RowScrollTarget(start, start + row.lHeight, m_lScrollY, m_lVisibleHeight);
        if (target != m_lScrollY) {
            long before = m_cScroll->Value(cScrollBars::kVertical);
            m_cScroll->Value(cScrollBars::kVertical, std::max(target, 0L));
            moved = moved || m_cScroll->Value(cScrollBars::kVertical) != before;
        }
    }
    return moved;
}

}  // namespace ferryl
