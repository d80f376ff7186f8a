// MoskGrid: text as displayed, and the incremental key search over one column.

#include "common/text.h"
#include "grid/grid_layout.h"
#include "grid/mosk_grid.h"

namespace ferryl {

std::wstring MoskGrid::CellFormattedText(long lRow, long lCol) const {
    // Unlike the other cell members this one does not validate: out of range gives empty text
    // instead of reading outside the tables.
    if (lRow < 1 || lRow > Rows() || lCol < 1 || lCol > Columns())
        return {};
    // As the painter shows it.
    for (size_t i = 1; i < m_tCols.size(); ++i) {
        if (m_tCols[i].lCellColIndex == lCol)
            return CellShownText(CellAt(lRow, lCol), m_tCols[i].sFmtString);
    }
    return CellShownText(CellAt(lRow, lCol), std::wstring());
}

long MoskGrid::FindSearchMatchRow(const std::wstring& sSearchString, bool bLoop, bool bVisibleRowsOnly) const {
    if (m_lKeySearchColumn < 1 || m_lKeySearchColumn > Columns())
        return 0;
    long start = m_lSelectedRow == 0 ? 1 : (bLoop ? m_lSelectedRow + 1 : m_lSelectedRow);
    size_t column = static_cast<size_t>(m_lKeySearchColumn - 1);

    auto matches = [&](long r) {
        const tGridRow& row = m_tRows[static_cast<size_t>(r)];
        if (!row.bVisible && bVisibleRowsOnly)
            return false;
        const TaggedValue& value = m_tCells[static_cast<size_t>(r)][column].vText;
        if (value.IsError() || value.IsObject())
            return false;
        // Texts are compared in place; other values are converted first.
        if (value.IsText())
            return StartsWithNoCase(value.Text(), sSearchString);
        return StartsWithNoCase(value.ToText(), sSearchString);
    };

    for (long r = start; r <= Rows(); ++r) {
        if (matches(r))
            return r;
    }
    if (bLoop) {
        for (long r = 1; r <= start && r <= Rows(); ++r) {
            if (matches(r))
                return r;
        }
    }
    return 0;
}

}  // namespace ferryl
