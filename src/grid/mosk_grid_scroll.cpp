// MoskGrid: its scroll bars. The ranges follow the data's extent and the room the window has; a
// change of a bar's value moves the scroll offsets, the header and the painted cells.

#include <algorithm>

#include "core/scroll_layout.h"
#include "grid/header_control.h"
#include "grid/mosk_grid.h"
#include "grid/mosk_grid_sinks.h"
#include "grid/scroll_bars.h"

namespace ferryl {

void MoskGrid::CreateScrollBars() {
    if (m_cScroll || !Hwnd())
        return;
    m_scrollSink = std::make_unique<ScrollSink>(*this);
    m_cScroll = std::make_unique<cScrollBars>(m_scrollSink.get());
    m_cScroll->Create(Hwnd());
    m_cScroll->Style(m_eScrollBarStyle);
    m_cScroll->Orientation(2);
    m_cScroll->Visible(cScrollBars::kHorizontal, false);
    m_cScroll->Visible(cScrollBars::kVertical, false);
}

void MoskGrid::UpdateScrollRanges() {
    if (!Hwnd())
        return;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    long barWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    long barHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    bool shownH = m_cScroll && m_cScroll->Visible(cScrollBars::kHorizontal);
    bool shownV = m_cScroll && m_cScroll->Visible(cScrollBars::kVertical);

    // The room with neither bar: the client area gives back what the shown bars take.
    ScrollLayoutInput in;
    in.areaWidth = client.right + (shownV ? barWidth : 0);
    in.areaHeight = client.bottom + (shownH ? barHeight : 0) - HeaderVisibleHeight();
    in.barWidth = barWidth;
    in.barHeight = barHeight;
    in.totalWidth = m_model.DataWidth();
    in.totalHeight = m_model.DataHeight();
    if (m_bVirtual && m_bMoreRows)
        in.totalHeight += m_lDefaultRowHeight;
    ScrollLayout layout = ComputeScrollLayout(in);
    m_lVisibleWidth = layout.visibleWidth;
    m_lVisibleHeight = layout.visibleHeight;
    if (!m_cScroll) {
        m_lScrollX = m_lScrollY = 0;
        return;
    }

    if (layout.needH != shownH) {
        if (!layout.needH)
            m_cScroll->Value(cScrollBars::kHorizontal, 0);
        m_cScroll->Visible(cScrollBars::kHorizontal, layout.needH);
        PositionHeader();
    }
    if (layout.needV != shownV) {
        if (!layout.needV)
            m_cScroll->Value(cScrollBars::kVertical, 0);
        m_cScroll->Visible(cScrollBars::kVertical, layout.needV);
    }
    if (layout.needH) {
        if (m_cScroll->Max(cScrollBars::kHorizontal) != layout.maxH ||
            m_cScroll->LargeChange(cScrollBars::kHorizontal) != layout.largeH) {
            m_cScroll->LargeChange(cScrollBars::kHorizontal, layout.largeH);
            m_cScroll->Max(cScrollBars::kHorizontal, layout.maxH);
            m_cScroll->SmallChange(cScrollBars::kHorizontal, 20);
            PositionHeader();
        }
        m_lScrollX = m_cScroll->Value(cScrollBars::kHorizontal);
    } else {
        m_lScrollX = 0;
    }
    if (layout.needV) {
        if (m_cScroll->Max(cScrollBars::kVertical) != layout.maxV ||
            m_cScroll->LargeChange(cScrollBars::kVertical) != layout.largeV) {
            m_cScroll->LargeChange(cScrollBars::kVertical, layout.largeV);
            m_cScroll->Max(cScrollBars::kVertical, layout.maxV);
        }
        m_cScroll->SmallChange(cScrollBars::kVertical, m_lDefaultRowHeight);
        m_lScrollY = m_cScroll->Value(cScrollBars::kVertical);
    } else {
        m_lScrollY = 0;
    }
}

void MoskGrid::m_cScroll_Change(long& eBar) {
    CancelEdit();
    if (eBar == cScrollBars::kVertical) {
        m_lScrollY = m_cScroll->Value(cScrollBars::kVertical);
    } else {
        m_lScrollX = m_cScroll->Value(cScrollBars::kHorizontal);
        if (m_cHeader && m_cHeader->Visible())
            m_cHeader->Left(-m_lScrollX);
    }
    if (m_bInDraw) {
        // A range update moved the value: the paint under way lays everything out again.
        m_bDirty = true;
        return;
    }
    InvalidateVisibleCells(false);
    Draw();
}

}  // namespace ferryl
