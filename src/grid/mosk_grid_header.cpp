// MoskGrid: its column header. The header is a real header window laid over the top of the client
// area; its items are rebuilt from the column table and its notifications come back as events.

#include <algorithm>
#include <utility>

#include "common/error.h"
#include "grid/api_and_callbacks.h"
#include "grid/flat_header.h"
#include "grid/header_control.h"
#include "grid/mosk_grid.h"
#include "grid/mosk_grid_sinks.h"
#include "grid/scroll_bars.h"

namespace ferryl {

HWND MoskGrid::HeaderHwnd() const noexcept {
    return m_cHeader ? m_cHeader->hWnd() : nullptr;
}

void MoskGrid::CreateHeader() {
    m_headerSink = std::make_unique<HeaderSink>(*this);
    m_cHeader = std::make_unique<cHeaderControl>(m_headerSink.get());
    m_cHeader->Buttons(m_bHeaderButtons);
    m_cHeader->HotTrack(m_bHeaderHotTrack);
    m_cHeader->DragReorder(m_bHeaderDragReOrderColumns);
    m_cHeader->Init(Hwnd(), m_bUserMode);
    m_cHeader->Font(*m_oFont, m_lDpi);
    if (m_hImageList)
        m_cHeader->ImageList(m_hImageList);
    m_cHeader->Visible(m_bHeader);
    m_cHeader->Height(m_lHeaderHeight);
    SetHeaders();
}

void MoskGrid::SetHeaders() {
    if (!m_cHeader || !m_cHeader->hWnd())
        return;
    for (long item = m_cHeader->ColumnCount() - 1; item >= 0; --item)
        m_cHeader->RemoveColumn(item);
    for (long position = 1; position <= Columns(); ++position) {
        tGridColumn& column = m_model.Column(position);
        if (!column.bVisible || m_model.IsRowTextPosition(position)) {
            column.lHeaderColIndex = 0;
            continue;
        }
        long item = m_cHeader->AddColumn(column.sHeader, column.lWidth, column.eAlign, 0, column.lImage);
        if (column.bImageOnRight)
            m_cHeader->ColumnImageOnRight(item, true);
        column.lHeaderColIndex = m_cHeader->ColumnCount();
    }
    PositionHeader();
}

void MoskGrid::UpdateHeaderItem(const tGridColumn& column) {
    if (!m_cHeader || column.lHeaderColIndex < 1)
        return;
    long item = column.lHeaderColIndex - 1;
    m_cHeader->ColumnHeader(item, column.sHeader);
    m_cHeader->ColumnImage(item, column.lImage);
    m_cHeader->ColumnImageOnRight(item, column.bImageOnRight);
    m_cHeader->ColumnAlign(item, column.eAlign);
    m_cHeader->ColumnWidth(item, column.lWidth);
}

void MoskGrid::PositionHeader() {
    if (!m_bHeader || !m_cHeader || !Hwnd())
        return;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    long left = 0;
    long width = client.right;
    if (m_cScroll && m_cScroll->Visible(cScrollBars::kHorizontal)) {
        // The header scrolls sideways with the cells.
        left = -m_cScroll->Value(cScrollBars::kHorizontal);
        width = client.right + m_cScroll->Max(cScrollBars::kHorizontal);
    }
    m_cHeader->Move(left, 0, width, m_lHeaderHeight);
}

long MoskGrid::ColumnOfHeaderItem(long lItem, bool bVisibleOnly) const {
    for (long position = 1; position <= Columns(); ++position) {
        const tGridColumn& column = m_model.Column(position);
        if (column.lHeaderColIndex == lItem + 1 && (!bVisibleOnly || column.bVisible))
            return position;
    }
    return 0;
}

RECT MoskGrid::DragLine(long lItem, long lWidth) const {
    long pos = ColumnOfHeaderItem(lItem, false);
    if (pos < 1)
        return RECT{};
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    long x = m_model.Column(pos).lStartX + lWidth - 1 - m_lScrollX;
    POINT corners[2] = {{x, HeaderVisibleHeight()}, {x + 2, client.bottom}};
    ::MapWindowPoints(Hwnd(), nullptr, corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void MoskGrid::m_cHeader_ColumnBeginDrag(long& /*lColumn*/) {
    CancelEdit();
}

void MoskGrid::m_cHeader_ColumnClick(long& lColumn) {
    CancelEdit();
    long pos = ColumnOfHeaderItem(lColumn, false);
    if (pos > 0)
        lColumn = m_model.Column(pos).lCellColIndex;
    m_listener->ColumnClick(lColumn);
}

void MoskGrid::m_cHeader_StartColumnWidthChange(long& lColumn, long lWidth, bool& bCancel) {
    CancelEdit();
    m_bWidthTrackRefused = false;
    m_listener->ColumnWidthStartChange(lColumn + 1, lWidth, bCancel);
    if (bCancel)
        return;
    long pos = ColumnOfHeaderItem(lColumn, false);
    if (pos > 0)
        DrawDragRect(DragLine(lColumn, m_model.Column(pos).lWidth), true, false);
}

void MoskGrid::m_cHeader_ColumnWidthChanging(long& lColumn, long lWidth, bool& bCancel) {
    CancelEdit();
    long item = lColumn;
    long pos = ColumnOfHeaderItem(item, false);
    if (pos < 1)
        return;
    RECT line = DragLine(item, lWidth);
    lColumn = m_model.Column(pos).lCellColIndex;
    DrawDragRect(line, false, false);
    m_listener->ColumnWidthChanging(lColumn, lWidth, bCancel);
    // The last step decides: a width refused on the way does not spoil one accepted after it.
    m_bWidthTrackRefused = bCancel;
    if (bCancel)
        DrawDragRect(line, false, true);
}

void MoskGrid::m_cHeader_ColumnWidthChanged(long& lColumn, long lWidth) {
    DrawDragRect(RECT{}, false, true);
    long pos = ColumnOfHeaderItem(lColumn, true);
    if (!std::exchange(m_bWidthTrackRefused, false) && pos >= 1) {
        bool cancel = false;
        m_listener->ColumnWidthChanged(m_model.Column(pos).lCellColIndex, lWidth, cancel);
        if (!cancel) {
            m_model.SetColumnWidth(pos, lWidth);
            m_bDirty = true;
            Draw();
            PositionHeader();
            return;
        }
    }
    // Refused: the header still drops its own width after this notice, and is given the column's
    // width back then.
    ::PostMessageW(Hwnd(), kMsgResyncHeader, 0, 0);
}

void MoskGrid::m_cHeader_CaptureLost() {
    // The header refuses what the drag still reports; a header that applies widths as it goes
    // (HDS_FULLDRAG) is given the column's width back.
    DrawDragRect(RECT{}, false, true);
    ::PostMessageW(Hwnd(), kMsgResyncHeader, 0, 0);
}

void MoskGrid::m_cHeader_DividerDblClick(long& lColumn) {
    CancelEdit();
    long pos = ColumnOfHeaderItem(lColumn, false);
    try {
        AutoWidthColumn(TaggedValue(pos > 0 ? m_model.Column(pos).lCellColIndex : 0L));
    } catch (const Error&) {
        // No column behind the divider, or no measuring yet: the width stays.
    }
}

void MoskGrid::m_cHeader_ColumnEndDrag(long& lColumn, long& lOrder) {
    if (lOrder == -1) {
        m_listener->ColumnOrderChanged();
        return;
    }
    long source = ColumnOfHeaderItem(lColumn, true);
    if (source < 1) {
        m_listener->ColumnOrderChanged();
        return;
    }
    long target = lOrder + 1;
    for (long c = 1; c <= Columns(); ++c) {
        if (c <= target && !m_model.Column(c).bVisible)
            ++target;
    }
    target = std::min(target, Columns());
    if (target == source) {
        m_listener->ColumnOrderChanged();
        return;
    }
    // A move: the columns in between shift one place towards the source and keep their order.
    m_model.MoveColumn(source, target);
    m_bDirty = true;
    Draw();
    m_listener->ColumnOrderChanged();
}

void MoskGrid::m_cHeader_RightClick(float& x, float& y) {
    CancelEdit();
    m_listener->HeaderRightClick(x, y);
}

void MoskGrid::m_cHeader_RecreateControl() {
    CancelEdit();
    SetHeaders();
    if (m_hImageList)
        m_cHeader->ImageList(m_hImageList);
    if (m_bHeaderFlat && m_cFlatHeader)
        m_cFlatHeader->Attach(Hwnd());
}

}  // namespace ferryl
