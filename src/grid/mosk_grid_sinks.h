#pragma once
// The grid's listeners on its header and scroll-bar wrappers: each event goes to the grid's handler
// of the same name. They are raised from inside window procedures, so nothing escapes them.

#include "grid/flat_header.h"
#include "grid/header_control.h"
#include "grid/mosk_grid.h"
#include "grid/scroll_bars.h"

namespace ferryl {

class MoskGrid::HeaderSink : public cHeaderControlEvents {
public:
    explicit HeaderSink(MoskGrid& grid) : m_grid(grid) {}
    // The header raises these from inside a window procedure: nothing may escape.
    void ColumnWidthChanged(long& lColumn, long lWidth) override {
        Guard([&] { m_grid.m_cHeader_ColumnWidthChanged(lColumn, lWidth); });
    }
    void ColumnWidthChanging(long& lColumn, long lWidth, bool& bCancel) override {
        Guard([&] { m_grid.m_cHeader_ColumnWidthChanging(lColumn, lWidth, bCancel); });
    }
    void StartColumnWidthChange(long& lColumn, long lWidth, bool& bCancel) override {
        Guard([&] { m_grid.m_cHeader_StartColumnWidthChange(lColumn, lWidth, bCancel); });
    }
    void DividerDblClick(long& lColumn) override { Guard([&] { m_grid.m_cHeader_DividerDblClick(lColumn); }); }
    void ColumnClick(long& lColumn) override { Guard([&] { m_grid.m_cHeader_ColumnClick(lColumn); }); }
    void ColumnBeginDrag(long& lColumn) override { Guard([&] { m_grid.m_cHeader_ColumnBeginDrag(lColumn); }); }
    void ColumnEndDrag(long& lColumn, long& lOrder) override {
        Guard([&] { m_grid.m_cHeader_ColumnEndDrag(lColumn, lOrder); });
    }
    void RightClick(float& x, float& y) override { Guard([&] { m_grid.m_cHeader_RightClick(x, y); }); }
    void RecreateControl() override { Guard([&] { m_grid.m_cHeader_RecreateControl(); }); }
    void CaptureLost() override { Guard([&] { m_grid.m_cHeader_CaptureLost(); }); }

private:
    template <typename F>
    static void Guard(F&& f) noexcept {
        try {
            f();
        } catch (...) {
        }
    }
    MoskGrid& m_grid;
};

class MoskGrid::ScrollSink : public cScrollBarsEvents {
public:
    explicit ScrollSink(MoskGrid& grid) : m_grid(grid) {}
    // Raised from inside WM_HSCROLL/WM_VSCROLL: nothing may escape.
    void Scroll(long& eBar) override { Change(eBar); }
    void Change(long& eBar) override {
        try {
            m_grid.m_cScroll_Change(eBar);
        } catch (...) {
        }
    }

private:
    MoskGrid& m_grid;
};

}  // namespace ferryl
