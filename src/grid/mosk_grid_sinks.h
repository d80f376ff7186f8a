#pragma once
// The grid's listeners on its header and scroll-bar wrappers: each event goes to the grid's handler
// of the same name. They are raised from inside window procedures, so nothing escapes them.

#include "common/continue_on_error.h"
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
        ContinueOnError(L"MoskGrid.HeaderColumnWidthChanged",
                        [&] { m_grid.m_cHeader_ColumnWidthChanged(lColumn, lWidth); });
    }
    void ColumnWidthChanging(long& lColumn, long lWidth, bool& bCancel) override {
        ContinueOnError(L"MoskGrid.HeaderColumnWidthChanging",
                        [&] { m_grid.m_cHeader_ColumnWidthChanging(lColumn, lWidth, bCancel); });
    }
    void StartColumnWidthChange(long& lColumn, long lWidth, bool& bCancel) override {
        ContinueOnError(L"MoskGrid.HeaderStartColumnWidthChange",
                        [&] { m_grid.m_cHeader_StartColumnWidthChange(lColumn, lWidth, bCancel); });
    }
    void DividerDblClick(long& lColumn) override {
        ContinueOnError(L"MoskGrid.HeaderDividerDblClick", [&] { m_grid.m_cHeader_DividerDblClick(lColumn); });
    }
    void ColumnClick(long& lColumn) override {
        ContinueOnError(L"MoskGrid.HeaderColumnClick", [&] { m_grid.m_cHeader_ColumnClick(lColumn); });
    }
    void ColumnBeginDrag(long& lColumn) override {
        ContinueOnError(L"MoskGrid.HeaderColumnBeginDrag", [&] { m_grid.m_cHeader_ColumnBeginDrag(lColumn); });
    }
    void ColumnEndDrag(long& lColumn, long& lOrder) override {
        ContinueOnError(L"MoskGrid.HeaderColumnEndDrag", [&] { m_grid.m_cHeader_ColumnEndDrag(lColumn, lOrder); });
    }
    void RightClick(float& x, float& y) override {
        ContinueOnError(L"MoskGrid.HeaderRightClick", [&] { m_grid.m_cHeader_RightClick(x, y); });
    }
    void RecreateControl() override {
        ContinueOnError(L"MoskGrid.HeaderRecreateControl", [&] { m_grid.m_cHeader_RecreateControl(); });
    }
    void CaptureLost() override {
        ContinueOnError(L"MoskGrid.HeaderCaptureLost", [&] { m_grid.m_cHeader_CaptureLost(); });
    }

  private:
    MoskGrid& m_grid;
};

class MoskGrid::ScrollSink : public cScrollBarsEvents {
  public:
    explicit ScrollSink(MoskGrid& grid) : m_grid(grid) {}
    // Raised from inside WM_HSCROLL/WM_VSCROLL: nothing may escape.
    void Scroll(long& eBar) override { Change(eBar); }
    void Change(long& eBar) override {
        ContinueOnError(L"MoskGrid.ScrollChange", [&] { m_grid.m_cScroll_Change(eBar); });
    }

  private:
    MoskGrid& m_grid;
};

}  // namespace ferryl
