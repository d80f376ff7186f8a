#include "core/grid_shape.h"

#include <algorithm>
#include <utility>

namespace ferryl {
namespace {

// The first row number from `lo` up to `hi` (exclusive) for which `reached` holds, `hi` when none
// does. Past the first row it holds for it holds for all, so the row is found by halving: the cost
// does not follow the number of rows.
template <typename Reached>
long FirstRowReached(long lo, long hi, Reached reached) {
    while (lo < hi) {
        long mid = lo + (hi - lo) / 2;
        if (reached(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// Where the next row starts: below the row when it is visible. Its lStartY must be up to date.
long BottomOf(const tGridRow& row) noexcept {
    return row.lStartY + (row.bVisible ? row.lHeight : 0);
}

}  // namespace

long ColumnScrollTarget(long start, long end, long offset, long visible) noexcept {
    if (start > offset && end >= offset + visible)
        return end - start <= visible ? end - visible + 8 : start;
    if (start < offset)
        return start - 8;
    return offset;
}

long RowScrollTarget(long start, long end, long offset, long visible) noexcept {
    if (start > offset && end >= offset + visible && end - start < visible)
        return end - visible + 8;
    if (start < offset)
        return start - 8;
    return offset;
}

GridShape::GridShape() : m_rows(1), m_cols(1) {}

// --- rows ---

void GridShape::RowStartsChangedFrom(long row) noexcept {
    std::size_t from = Index(std::max(row, 1L));
    if (from < m_firstStaleRowStart)
        m_firstStaleRowStart = from;
}

void GridShape::EnsureRowStarts(std::size_t upTo) const noexcept {
    if (m_firstStaleRowStart == SIZE_MAX)
        return;
    std::size_t last = m_rows.size() - 1;
    if (m_firstStaleRowStart > last) {
        m_firstStaleRowStart = SIZE_MAX;
        return;
    }
    if (upTo < m_firstStaleRowStart)
        return;
    // The starts are a cache of the heights and visibilities; refreshing them changes nothing a
    // caller can tell apart, so readers that are const may do it.
    auto& rows = const_cast<tGridRowTable&>(m_rows);
    rows[0].lHeight = 0;
    rows[0].lStartY = 0;
    std::size_t end = std::min(upTo, last);
    for (std::size_t r = m_firstStaleRowStart; r <= end; ++r)
        rows[r].lStartY = BottomOf(rows[r - 1]);
    m_firstStaleRowStart = end >= last ? SIZE_MAX : end + 1;
}

long GridShape::RowBottom(long row) const noexcept {
    EnsureRowStarts(Index(row));
    return BottomOf(Row(row));
}

void GridShape::SetRowHeight(long row, long height) noexcept {
    Row(row).lHeight = height;
    RowStartsChangedFrom(row + 1);
}

void GridShape::SetRowVisible(long row, bool visible) noexcept {
    Row(row).bVisible = visible;
    RowStartsChangedFrom(row + 1);
}

long GridShape::FirstVisibleRow() const noexcept {
    for (long row = 1; row <= Rows(); ++row) {
        if (Row(row).bVisible)
            return row;
    }
    return 0;
}

long GridShape::LastVisibleRow() const noexcept {
    for (long row = Rows(); row >= 1; --row) {
        if (Row(row).bVisible)
            return row;
    }
    return 0;
}

// --- columns ---

long GridShape::PositionOf(long cellColumn) const noexcept {
    for (long position = 1; position <= Columns(); ++position) {
        if (CellColumnAt(position) == cellColumn)
            return position;
    }
    return 0;
}

long GridShape::FirstVisibleColumn() const noexcept {
    for (long position = 1; position <= Columns(); ++position) {
        if (Column(position).bVisible && !IsRowTextPosition(position))
            return CellColumnAt(position);
    }
    return 0;
}

long GridShape::LastVisibleColumn() const noexcept {
    for (long position = Columns(); position >= 1; --position) {
        if (Column(position).bVisible && !IsRowTextPosition(position))
            return CellColumnAt(position);
    }
    return 0;
}

void GridShape::RecomputeColumnStarts() noexcept {
    m_cols[0].lWidth = 0;
    m_cols[0].lStartX = 0;
    for (std::size_t i = 1; i < m_cols.size(); ++i) {
        const tGridColumn& previous = m_cols[i - 1];
        m_cols[i].lStartX = previous.lStartX + (previous.bVisible ? previous.lWidth : 0);
    }
}

void GridShape::SetColumnWidth(long position, long width) noexcept {
    Column(position).lWidth = width;
    RecomputeColumnStarts();
}

void GridShape::SwapColumns(long position, long other) noexcept {
    std::swap(Column(position), Column(other));
    if (m_rowTextPosition == position)
        m_rowTextPosition = other;
    else if (m_rowTextPosition == other)
        m_rowTextPosition = position;
    RecomputeColumnStarts();
}

void GridShape::MoveColumn(long from, long to) {
    tGridColumn moved = std::move(Column(from));
    m_cols.erase(m_cols.begin() + from);
    m_cols.insert(m_cols.begin() + to, std::move(moved));
    // The row-text column keeps its identity: it is the moved column or one of those that shifted.
    if (m_rowTextPosition == from)
        m_rowTextPosition = to;
    else if (from < m_rowTextPosition && m_rowTextPosition <= to)
        --m_rowTextPosition;
    else if (to <= m_rowTextPosition && m_rowTextPosition < from)
        ++m_rowTextPosition;
    RecomputeColumnStarts();
}

void GridShape::ScaleSizes(const std::function<long(long)>& scale) {
    for (long row = 1; row <= Rows(); ++row)
        Row(row).lHeight = scale(Row(row).lHeight);
    RowStartsChangedFrom(1);
    for (long position = 1; position <= Columns(); ++position)
        Column(position).lWidth = scale(Column(position).lWidth);
    RecomputeColumnStarts();
}

// --- geometry ---

long GridShape::RowAtY(long y) const noexcept {
    const tGridRowTable& rows = RowTable();
    auto bottom = [&](long r) { return BottomOf(rows[Index(r)]); };
    // Bottoms only grow.
    long lo = FirstRowReached(1, Rows() + 1, [&](long r) { return bottom(r) >= y; });
    while (lo <= Rows() && !rows[Index(lo)].bVisible)
        ++lo;
    return (lo <= Rows() && rows[Index(lo)].lStartY < y && y <= bottom(lo)) ? lo : 0;
}

long GridShape::CellColumnAtX(long x, long row) const noexcept {
    if (Row(row).bGroupRow)
        return RowTextCellColumn();
    for (long position = 1; position <= Columns(); ++position) {
        const tGridColumn& column = Column(position);
        if (column.bVisible && !IsRowTextPosition(position) && column.lStartX < x &&
            x <= column.lStartX + column.lWidth)
            return column.lCellColIndex;
    }
    return 0;
}

GridVisibleRange GridShape::VisibleRange(long scrollX, long scrollY, long width, long height) const noexcept {
    GridVisibleRange range;
    range.lScrollX = scrollX;
    range.lScrollY = scrollY;
    const tGridRowTable& rows = RowTable();
    auto bottom = [&](long r) { return BottomOf(rows[Index(r)]); };
    // Row starts and bottoms only grow.
    range.lFirstRow = FirstRowReached(1, Rows() + 1, [&](long r) { return bottom(r) > scrollY; });
    const long limit = scrollY + height;
    const long pastLast =
        FirstRowReached(range.lFirstRow, Rows() + 1, [&](long r) { return rows[Index(r)].lStartY >= limit; });
    range.lLastRow = std::max(pastLast - 1, range.lFirstRow - 1);

    range.lFirstCol = 0;
    range.lLastCol = 0;
    for (long position = 1; position <= Columns(); ++position) {
        const tGridColumn& column = Column(position);
        if (!column.bVisible || IsRowTextPosition(position))
            continue;
        if (range.lFirstCol == 0 && column.lStartX + column.lWidth > scrollX)
            range.lFirstCol = position;
        if (column.lStartX < scrollX + width)
            range.lLastCol = position;
    }
    if (range.lFirstCol == 0) {
        range.lFirstCol = 1;
        range.lLastCol = 0;
    }
    return range;
}

long GridShape::DataWidth() const noexcept {
    long width = 0;
    for (long position = 1; position <= Columns(); ++position) {
        const tGridColumn& column = Column(position);
        if (column.bVisible && !IsRowTextPosition(position))
            width = std::max(width, column.lStartX + column.lWidth);
    }
    return width;
}

long GridShape::DataHeight() const noexcept {
    return Rows() >= 1 ? RowBottom(Rows()) : 0;
}

}  // namespace ferryl
