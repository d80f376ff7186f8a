#pragma once
// cGridCell: a stand-alone snapshot of one cell's formatting. A caller fills one in and hands it to
// the grid (MoskGrid::Cell let), or gets one from the grid already attached to a cell; while it is
// attached every setter writes through to that cell.

#include <memory>

#include "common/tagged_value.h"
#include "grid/grid_font.h"

namespace ferryl {

class MoskGrid;

class cGridCell {
  public:
    cGridCell() = default;

    long ItemData() const noexcept { return m_lItemData; }
    void ItemData(long lItemData);
    unsigned long TextAlign() const noexcept { return m_eTextAlign; }
    void TextAlign(unsigned long eAlign);
    const TaggedValue& Text() const noexcept { return m_vText; }
    void Text(const TaggedValue& vText);
    // Nothing means the control's font.
    const GridFontRef& Font() const noexcept { return m_oFont; }
    void Font(const GridFontRef& oFont);
    long IconIndex() const noexcept { return m_lIconIndex; }
    void IconIndex(long lIconIndex);
    long ExtraIconIndex() const noexcept { return m_lExtraIconIndex; }
    void ExtraIconIndex(long lExtraIconIndex);
    long Indent() const noexcept { return m_lIndent; }
    void Indent(long lIndent);
    long BackColor() const noexcept { return m_lBackColor; }
    void BackColor(long oColor);
    void DefaultBackColor() { BackColor(-1); }
    long ForeColor() const noexcept { return m_lForeColor; }
    void ForeColor(long oColor);
    void DefaultForeColor() { ForeColor(-1); }

    long Row() const noexcept { return m_lRow; }
    long Col() const noexcept { return m_lCol; }
    // True while the object is attached to a cell of a grid that still exists.
    bool IsAttached() const noexcept { return !m_grid.expired(); }

  private:
    friend class MoskGrid;
    // The grid hands out a weak token rather than itself, so an object that outlives its grid
    // detaches instead of writing into freed memory.
    void Attach(std::weak_ptr<MoskGrid*> grid, long lRow, long lCol) {
        m_grid = std::move(grid);
        m_lRow = lRow;
        m_lCol = lCol;
    }
    MoskGrid* Grid() const noexcept;

    std::weak_ptr<MoskGrid*> m_grid;
    long m_lRow = 0;
    long m_lCol = 0;
    GridFontRef m_oFont;
    unsigned long m_eTextAlign = 0x40024;  // DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS
    long m_lIconIndex = -1;
    long m_lBackColor = -1;
    long m_lForeColor = -1;
    long m_lIndent = 0;
    long m_lExtraIconIndex = -1;
    TaggedValue m_vText;
    long m_lItemData = 0;
};

}  // namespace ferryl
