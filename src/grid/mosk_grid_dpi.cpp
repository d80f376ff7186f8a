// MoskGrid: moving to another DPI. Row heights, column widths and the header's height are pixels
// at the grid's DPI; when the window goes to a monitor of another scale they are scaled, and the
// fonts made again, so that the grid looks the same there, as the system's list view does.

#include <algorithm>

#include "grid/header_control.h"
#include "grid/mosk_grid.h"
#include "grid/scroll_bars.h"

namespace ferryl {

void MoskGrid::Dpi(int dpi) {
    if (dpi <= 0 || dpi == m_lDpi)
        return;
    const int old = m_lDpi;
    m_lDpi = dpi;
    // Scaled from the sizes as they are, so that going there and back gives them back.
    auto scale = [&](long pixels) { return static_cast<long>(::MulDiv(pixels, dpi, old)); };

    m_lDefaultRowHeightProperty = scale(m_lDefaultRowHeightProperty);
    m_lDefaultRowHeight = std::max(m_lDefaultRowHeightProperty, 1L);
    m_lDefaultColumnWidth = scale(m_lDefaultColumnWidth);
    m_lHeaderHeight = scale(m_lHeaderHeight);
    m_model.ScaleSizes(scale);

    ReplaceControlFont(CreateGridFont(*m_oFont, dpi));
    m_fonts.Recreate(dpi);
    if (m_cHeader)
        m_cHeader->Font(*m_oFont, dpi);
    if (m_lRowBufferHeight > 0)
        BuildRowBuffer(scale(m_lRowBufferHeight));
    // The header takes the new widths and height.
    SetHeaders();

    // The same rows and columns stay in view.
    if (m_cScroll) {
        UpdateScrollRanges();
        for (long bar : {cScrollBars::kHorizontal, cScrollBars::kVertical}) {
            if (long value = m_cScroll->Value(bar); value > 0)
                m_cScroll->Value(bar, std::min(scale(value), m_cScroll->Max(bar)));
        }
    }
    m_bDirty = true;
    Draw();
}

}  // namespace ferryl
