#include "grid/grid_cell.h"

#include "grid/mosk_grid.h"

namespace ferryl {

MoskGrid* cGridCell::Grid() const noexcept {
    auto token = m_grid.lock();
    return token ? *token : nullptr;
}

void cGridCell::ItemData(long lItemData) {
    m_lItemData = lItemData;
    if (MoskGrid* grid = Grid())
        grid->CellItemData(m_lRow, m_lCol, lItemData);
}

void cGridCell::TextAlign(unsigned long eAlign) {
    m_eTextAlign = eAlign;
    if (MoskGrid* grid = Grid())
        grid->CellTextAlign(m_lRow, m_lCol, eAlign);
}

void cGridCell::Text(const TaggedValue& vText) {
    m_vText = vText;
    if (MoskGrid* grid = Grid())
        grid->CellText(m_lRow, m_lCol, vText);
}

void cGridCell::Font(const GridFontRef& oFont) {
    m_oFont = oFont;
    if (MoskGrid* grid = Grid()) {
        if (oFont)
            grid->CellFont(m_lRow, m_lCol, *oFont);
        else
            grid->CellDefaultFont(m_lRow, m_lCol);
    }
}

void cGridCell::IconIndex(long lIconIndex) {
    m_lIconIndex = lIconIndex;
    if (MoskGrid* grid = Grid())
        grid->CellIcon(m_lRow, m_lCol, lIconIndex);
}

void cGridCell::ExtraIconIndex(long lExtraIconIndex) {
    m_lExtraIconIndex = lExtraIconIndex;
    if (MoskGrid* grid = Grid())
        grid->CellExtraIcon(m_lRow, m_lCol, lExtraIconIndex);
}

void cGridCell::Indent(long lIndent) {
    m_lIndent = lIndent;
    if (MoskGrid* grid = Grid())
        grid->CellIndent(m_lRow, m_lCol, lIndent);
}

void cGridCell::BackColor(long oColor) {
    m_lBackColor = oColor;
    if (MoskGrid* grid = Grid())
        grid->CellBackColor(m_lRow, m_lCol, oColor);
}

void cGridCell::ForeColor(long oColor) {
    m_lForeColor = oColor;
    if (MoskGrid* grid = Grid())
        grid->CellForeColor(m_lRow, m_lCol, oColor);
}

}  // namespace ferryl
