// MoskGrid: the per-cell accessors, CellDetails, the format object and the font list.

#include "grid/grid_errors.h"
#include "grid/mosk_grid.h"

namespace ferryl {

bool MoskGrid::ValidateCell(long lRow, long lCol) const {
    // The column first, so a wholly wrong pair reports the column.
    if (lCol < 1 || lCol > Columns())
        RaiseGridError(kErrSubscriptOutOfRange, kTextInvalidColumnIndex);
    if (lRow < 1 || lRow > Rows())
        RaiseGridError(kErrSubscriptOutOfRange, kTextInvalidRowIndex);
    return true;
}

tGridCell& MoskGrid::CheckedCell(long lRow, long lCol) {
    ValidateCell(lRow, lCol);
    return m_model.CellAt(lRow, lCol);
}

const tGridCell& MoskGrid::CheckedCell(long lRow, long lCol) const {
    ValidateCell(lRow, lCol);
    return m_model.CellAt(lRow, lCol);
}

void MoskGrid::CellChanged(tGridCell& cell) {
    cell.bDirty = true;
    Draw();
}

const TaggedValue& MoskGrid::CellText(long lRow, long lCol) const {
    return CheckedCell(lRow, lCol).vText;
}

void MoskGrid::CellText(long lRow, long lCol, TaggedValue sText) {
    tGridCell& cell = CheckedCell(lRow, lCol);
    cell.vText = std::move(sText);
    CellChanged(cell);
}

unsigned long MoskGrid::CellTextAlign(long lRow, long lCol) const {
    return CheckedCell(lRow, lCol).eTextFormat;
}

void MoskGrid::CellTextAlign(long lRow, long lCol, unsigned long eAlign) {
    tGridCell& cell = CheckedCell(lRow, lCol);
    cell.eTextFormat = eAlign | kNoPrefix;
    CellChanged(cell);
}

long MoskGrid::CellIndent(long lRow, long lCol) const {
    return CheckedCell(lRow, lCol).lIndent;
}

void MoskGrid::CellIndent(long lRow, long lCol, long lIndent) {
    tGridCell& cell = CheckedCell(lRow, lCol);
    cell.lIndent = lIndent;
    CellChanged(cell);
}

long MoskGrid::CellExtraIcon(long lRow, long lCol) const {
    return CheckedCell(lRow, lCol).lExtraIconIndex;
}

void MoskGrid::CellExtraIcon(long lRow, long lCol, long lIconIndex) {
    tGridCell& cell = CheckedCell(lRow, lCol);
    cell.lExtraIconIndex = lIconIndex;
    CellChanged(cell);
}

long MoskGrid::CellItemData(long lRow, long lCol) const {
    return CheckedCell(lRow, lCol).lItemData;
}

void MoskGrid::CellItemData(long lRow, long lCol, long lItemData) {
    // Not shown anywhere: no dirty mark, no repaint.
    CheckedCell(lRow, lCol).lItemData = lItemData;
}

long MoskGrid::CellIcon(long lRow, long lCol) const {
    return CheckedCell(lRow, lCol).lIconIndex;
}

void MoskGrid::CellIcon(long lRow, long lCol, long lIconIndex) {
    tGridCell& cell = CheckedCell(lRow, lCol);
    cell.lIconIndex = lIconIndex;
    CellChanged(cell);
}

long MoskGrid::CellBackColor(long lRow, long lCol) const {
    return CheckedCell(lRow, lCol).lBackColor;
}

void MoskGrid::CellBackColor(long lRow, long lCol, long oColor) {
    tGridCell& cell = CheckedCell(lRow, lCol);
    cell.lBackColor = oColor;
    CellChanged(cell);
}

long MoskGrid::CellForeColor(long lRow, long lCol) const {
    return CheckedCell(lRow, lCol).lForeColor;
}

void MoskGrid::CellForeColor(long lRow, long lCol, long oColor) {
    tGridCell& cell = CheckedCell(lRow, lCol);
    cell.lForeColor = oColor;
    CellChanged(cell);
}

void MoskGrid::CellDefaultForeColor(long lRow, long lCol) {
    CellForeColor(lRow, lCol, -1);
}

void MoskGrid::CellDefaultBackColor(long lRow, long lCol) {
    CellBackColor(lRow, lCol, -1);
}

GridFontRef MoskGrid::CellFont(long lRow, long lCol) const {
    return m_fonts.FontAt(CheckedCell(lRow, lCol).lFntIndex);
}

void MoskGrid::CellFont(long lRow, long lCol, const GridFont& sFnt) {
    tGridCell& cell = CheckedCell(lRow, lCol);
    cell.lFntIndex = FindOrAddFont(sFnt);
    CellChanged(cell);
}

void MoskGrid::CellDefaultFont(long lRow, long lCol) {
    tGridCell& cell = CheckedCell(lRow, lCol);
    cell.lFntIndex = 0;
    CellChanged(cell);
}

long MoskGrid::FindOrAddFont(const GridFont& font) {
    return m_fonts.FindOrAdd(font, m_lDpi);
}

void MoskGrid::CellDetails(long lRow,
                           long lCol,
                           TaggedValue sText,
                           unsigned long eTextAlign,
                           long lIconIndex,
                           long oBackColor,
                           long oForeColor,
                           const GridFont* oFont,
                           long lIndent,
                           long lExtraIconIndex,
                           long lItemData) {
    if (lRow > Rows())
        Rows(lRow);
    tGridCell& cell = CheckedCell(lRow, lCol);
    cell.vText = std::move(sText);
    cell.eTextFormat = eTextAlign | kNoPrefix;
    cell.lBackColor = oBackColor;
    cell.lForeColor = oForeColor;
    cell.lIconIndex = lIconIndex;
    cell.lExtraIconIndex = lExtraIconIndex;
    cell.lIndent = lIndent;
    cell.lItemData = lItemData;
    if (oFont)
        cell.lFntIndex = FindOrAddFont(*oFont);
    cell.bDirty = true;
    Draw();
}

cGridCell MoskGrid::Cell(long lRow, long lCol) {
    const tGridCell& cell = CheckedCell(lRow, lCol);
    cGridCell object;
    object.m_lBackColor = cell.lBackColor;
    object.m_lForeColor = cell.lForeColor;
    object.m_lIconIndex = cell.lIconIndex;
    object.m_lExtraIconIndex = cell.lExtraIconIndex;
    object.m_lIndent = cell.lIndent;
    object.m_eTextAlign = cell.eTextFormat;
    object.m_vText = cell.vText;
    object.m_lItemData = cell.lItemData;
    // A copy of the cell's own font; nothing when the cell uses the control font, so that handing
    // the object back leaves the cell's font as it is.
    if (GridFontRef font = m_fonts.FontAt(cell.lFntIndex))
        object.m_oFont = std::make_shared<GridFont>(*font);
    object.Attach(m_self, lRow, lCol);
    return object;
}

void MoskGrid::Cell(long lRow, long lCol, const cGridCell& cG) {
    // The object's item data is carried over with everything else: dropping it would lose it.
    CellDetails(lRow, lCol, cG.Text(), cG.TextAlign(), cG.IconIndex(), cG.BackColor(), cG.ForeColor(), cG.Font().get(),
                cG.Indent(), cG.ExtraIconIndex(), cG.ItemData());
}

}  // namespace ferryl
