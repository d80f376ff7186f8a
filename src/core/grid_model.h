#pragma once
// The grid's data model without its window: the row and column tables (GridShape), the cells, the
// current cell, the selection, what the keys and clicks do to them, and the key search's prefix.
// MoskGrid holds one and does what needs the window: painting, scrolling, events, errors.
//
// `Cell` is the grid's cell record; the model reads and writes only its `bSelected` and `bDirty`
// flags. Every change of a selected flag goes through the model, which lists the rows that hold a
// selected cell, so that a new selection clears those rows instead of every cell of the grid.

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "core/gap_vector.h"
#include "core/grid_navigation.h"
#include "core/grid_shape.h"
#include "core/key_search.h"
#include "core/selected_rows.h"

namespace ferryl {

// What the window has still to do after a key or a click changed the model.
enum class GridAction {
    None,
    // The current cell or the selection changed: bring the current cell into view and paint.
    Navigated,
    // Ctrl+Space toggled the current cell: paint, then ask the owner for an edit.
    Toggled,
    // Ask the owner to edit the current cell.
    Edit,
    // End an edit in progress.
    CancelEdit,
    // Move the view one step sideways; the current cell stays.
    ScrollLeft,
    ScrollRight,
};

// What the keys need of the view: its height for a page, and whether its horizontal bar can move.
struct GridKeyView {
    long visibleHeight = 0;
    bool canScrollLeft = false;
    bool canScrollRight = false;
};

template <typename Cell>
class GridModel : public GridShape {
  public:
    using CellRow = std::vector<Cell>;
    // One vector per row, so that a row moves as a whole: the cells of row r are RowCells(r), cell
    // column c at [c - 1]; row 0 is an empty sentinel like the row table's.
    using CellRows = GapVector<CellRow>;

    GridModel() : m_cells(1) {}

    // --- cells ---
    Cell& CellAt(long row, long cellColumn) noexcept { return m_cells[Index(row)][Index(cellColumn - 1)]; }
    const Cell& CellAt(long row, long cellColumn) const noexcept { return m_cells[Index(row)][Index(cellColumn - 1)]; }
    CellRow& RowCells(long row) noexcept { return m_cells[Index(row)]; }
    const CellRow& RowCells(long row) const noexcept { return m_cells[Index(row)]; }
    const CellRows& Cells() const noexcept { return m_cells; }
    void MarkRowDirty(long row) noexcept {
        for (Cell& cell : RowCells(row))
            cell.bDirty = true;
    }
    void MarkAllDirty() noexcept {
        for (CellRow& row : m_cells) {
            for (Cell& cell : row)
                cell.bDirty = true;
        }
    }

    // --- switches ---
    bool MultiSelect() const noexcept { return m_multiSelect; }
    // Turning it off leaves only the current cell (row) selected.
    void SetMultiSelect(bool multiSelect) {
        m_multiSelect = multiSelect;
        if (!multiSelect && m_current.row > 0 && m_current.column > 0)
            SelectCurrentOnly();
    }
    bool RowMode() const noexcept { return m_rowMode; }
    // Without MultiSelect the current row (row mode) or cell becomes the selection; with it, turning
    // row mode on selects every row that holds a selected cell as a whole.
    void SetRowMode(bool rowMode) {
        m_rowMode = rowMode;
        if (!m_multiSelect) {
            if (m_current.row > 0 && m_current.column > 0)
                SelectCurrentOnly();
        } else if (rowMode) {
            const std::vector<long> listed = m_selectedRows.Rows();
            for (long row : listed) {
                if (RowHasSelection(row)) {
                    for (Cell& cell : RowCells(row))
                        SetSelected(row, cell, true);
                }
            }
        }
    }
    // The cell column the key search looks in; 0 = no search.
    long KeySearchColumn() const noexcept { return m_keySearchColumn; }
    void SetKeySearchColumn(long cellColumn) noexcept { m_keySearchColumn = cellColumn; }
    KeySearch& Search() noexcept { return m_search; }
    const KeySearch& Search() const noexcept { return m_search; }

    // --- the current cell ---
    const GridCursor& Current() const noexcept { return m_current; }
    void SetCurrent(GridCursor current) noexcept {
        m_current = current;
        m_anchor = {};
    }
    void SetCurrentRow(long row) noexcept {
        m_current.row = row;
        m_anchor = {};
    }
    bool CurrentRowExists() const noexcept { return m_current.row >= 1 && m_current.row <= Rows(); }
    // The current cell when the grid was last painted: the cell a click edits instead of selecting.
    const GridCursor& PaintedCurrent() const noexcept { return m_painted; }
    void RememberPaintedCurrent() noexcept { m_painted = m_current; }

    // --- shape changes: the tables, the listed rows and the current cell move together ---
    void AppendRow(tGridRow row, CellRow cells) {
        // While earlier starts are stale the new row's is too; it is computed with them.
        if (m_firstStaleRowStart == SIZE_MAX) {
            const tGridRow& previous = m_rows.back();
            row.lStartY = Rows() == 0 ? 0 : previous.lStartY + (previous.bVisible ? previous.lHeight : 0);
        }
        m_rows.push_back(std::move(row));
        // Both tables or neither: a row without its cells would be read past the cell table's end.
        try {
            m_cells.push_back(std::move(cells));
        } catch (...) {
            m_rows.resize(m_rows.size() - 1);
            throw;
        }
    }
    // Row `before` and those below move down one; the current row follows its cells.
    void InsertRow(long before, tGridRow row, CellRow cells) {
        m_rows.insert(Index(before), std::move(row));
        m_cells.insert(Index(before), std::move(cells));
        m_selectedRows.RowInserted(before);
        RowStartsChangedFrom(before);
        for (GridCursor* cursor : {&m_current, &m_painted, &m_anchor}) {
            if (cursor->row >= before)
                ++cursor->row;
        }
    }
    // The rows below move up one. The current row follows its cells; when it was the removed row,
    // the row now in its place (or the new last row) becomes current and takes a single selection.
    void RemoveRow(long row) {
        m_rows.erase(Index(row));
        m_cells.erase(Index(row));
        m_selectedRows.RowRemoved(row);
        RowStartsChangedFrom(row);
        const bool wasCurrent = m_current.row == row;
        if (m_anchor.row == row)
            m_anchor = {};
        for (GridCursor* cursor : {&m_current, &m_painted, &m_anchor}) {
            if (cursor->row > row)
                --cursor->row;
        }
        KeepCurrentInside();
        if (wasCurrent && !m_multiSelect && m_current.row > 0 && m_current.column > 0)
            SelectCurrentOnly();
    }
    // New rows to `rows`, visible and `height` high, each with the cells `makeCells()` gives. Each row
    // of cells is made once and moved in: copying a template row would allocate twice per row.
    template <typename MakeCells>
    void GrowRows(long rows, long height, MakeCells makeCells) {
        const long first = Rows() + 1;
        m_rows.resize(Index(rows) + 1);
        for (long row = first; row <= rows; ++row) {
            Row(row).lHeight = height;
            Row(row).bVisible = true;
        }
        RowStartsChangedFrom(first);
        for (long row = first; row <= rows; ++row)
            m_cells.push_back(makeCells());
    }
    // Only rows 1..rows stay. A current row that was cut off moves to the new last row and takes a
    // single selection with it.
    void CutRowsAfter(long rows) {
        m_cells.resize(Index(rows) + 1);
        m_rows.resize(Index(rows) + 1);
        m_selectedRows.RowsCutAfter(rows);
        if (m_anchor.row > rows)
            m_anchor = {};
        const bool cutOff = m_current.row > rows;
        KeepCurrentInside();
        if (cutOff && !m_multiSelect && m_current.column > 0)
            SelectCurrentOnly();
    }
    // No rows, no current cell.
    void ClearRows() {
        m_cells.resize(1);
        m_rows.resize(1);
        m_selectedRows.Clear();
        m_firstStaleRowStart = SIZE_MAX;
        m_current = m_painted = m_anchor = GridCursor{};
    }
    void ClearColumns() {
        m_cols.resize(1);
        m_rowTextPosition = 0;
        m_anchor = {};
    }
    // Inserts `column` at a display position; its cells become cell column `position`, blank. Every
    // cell column from there on moves one place right, and so do the columns that own them
    // (wherever reordering has put them) and the cell-column numbers the model keeps.
    void InsertColumn(long position, tGridColumn column, const Cell& blank) {
        for (long p = 1; p <= Columns(); ++p) {
            if (Column(p).lCellColIndex >= position)
                ++Column(p).lCellColIndex;
        }
        if (m_keySearchColumn >= position)
            ++m_keySearchColumn;
        if (m_current.column >= position)
            ++m_current.column;
        if (m_painted.column >= position)
            ++m_painted.column;
        m_anchor = {};
        if (m_rowTextPosition >= position)
            ++m_rowTextPosition;
        column.lCellColIndex = position;
        const bool rowText = column.bRowTextCol;
        m_cols.insert(m_cols.begin() + position, std::move(column));
        if (rowText)
            m_rowTextPosition = position;
        RecomputeColumnStarts();
        for (std::size_t r = 1; r < m_cells.size(); ++r)
            m_cells[r].insert(m_cells[r].begin() + (position - 1), blank);
    }
    // Removes the column at a display position and its own cell column, wherever reordering has put
    // the two. Removing the last column empties the grid.
    void RemoveColumn(long position) {
        if (Column(position).bRowTextCol)
            m_rowTextPosition = 0;
        if (Columns() <= 1) {
            ClearColumns();
            ClearRows();
            m_keySearchColumn = 0;
            return;
        }
        const long cellColumn = CellColumnAt(position);
        m_anchor = {};
        m_cols.erase(m_cols.begin() + position);
        for (long p = 1; p <= Columns(); ++p) {
            if (Column(p).lCellColIndex > cellColumn)
                --Column(p).lCellColIndex;
        }
        if (m_rowTextPosition > position)
            --m_rowTextPosition;
        if (m_keySearchColumn == cellColumn)
            m_keySearchColumn = 0;
        else if (m_keySearchColumn > cellColumn)
            --m_keySearchColumn;
        if (m_current.column > cellColumn)
            --m_current.column;
        if (m_painted.column > cellColumn)
            --m_painted.column;
        m_current.column = std::min(m_current.column, Columns());
        m_painted.column = std::min(m_painted.column, Columns());
        RecomputeColumnStarts();
        for (std::size_t r = 1; r < m_cells.size(); ++r)
            m_cells[r].erase(m_cells[r].begin() + (cellColumn - 1));
    }
    // `reorder(cells, rows)` puts the rows of both tables in a new order, moving each row's record
    // and cells together; the listed rows and the row starts follow.
    template <typename Reorder>
    void ReorderRows(Reorder reorder) {
        reorder(m_cells, m_rows);
        m_anchor = {};
        m_selectedRows.Rebuild(Rows(), [this](long row) { return RowHasSelection(row); });
        RowStartsChangedFrom(1);
    }

    // --- selection ---
    bool RowHasSelection(long row) const noexcept {
        const CellRow& cells = RowCells(row);
        return std::any_of(cells.begin(), cells.end(), [](const Cell& cell) { return cell.bSelected; });
    }
    // Sets a cell's selected flag; True when it changed (the cell is then dirty).
    bool SetCellSelected(long row, long cellColumn, bool selected) {
        return SetSelected(row, CellAt(row, cellColumn), selected);
    }
    // Toggles the cell, in row mode every cell of its row.
    void ToggleCell(long row, long cellColumn) {
        if (m_rowMode) {
            for (Cell& cell : RowCells(row))
                SetSelected(row, cell, !cell.bSelected);
        } else {
            Cell& cell = CellAt(row, cellColumn);
            SetSelected(row, cell, !cell.bSelected);
        }
    }
    // The rows that hold a selected cell, in ascending order.
    std::vector<long> RowsWithSelection() const {
        std::vector<long> rows;
        for (long row : m_selectedRows.Rows()) {
            if (row >= 1 && row <= Rows() && RowHasSelection(row))
                rows.push_back(row);
        }
        return rows;
    }
    // Unselects every cell but those `keep(row, cellColumn)` names, visiting only the listed rows.
    template <typename Keep>
    void UnselectAllBut(Keep keep) {
        for (long row : m_selectedRows.Take()) {
            if (row < 1 || row > Rows())
                continue;
            CellRow& cells = RowCells(row);
            bool kept = false;
            for (std::size_t c = 0; c < cells.size(); ++c) {
                const bool stays = cells[c].bSelected && keep(row, static_cast<long>(c + 1));
                SetSelected(row, cells[c], stays);
                kept = kept || stays;
            }
            if (kept)
                m_selectedRows.Add(row);
        }
    }
    void SelectOnlyRow(long row) {
        UnselectAllBut([row](long r, long) { return r == row; });
        if (row < 1 || row > Rows())
            return;
        for (Cell& cell : RowCells(row))
            SetSelected(row, cell, true);
    }
    void SelectOnlyCell(long row, long cellColumn) {
        UnselectAllBut([row, cellColumn](long r, long c) { return r == row && c == cellColumn; });
        if (row < 1 || row > Rows() || cellColumn < 1 || cellColumn > Columns())
            return;
        SetSelected(row, CellAt(row, cellColumn), true);
    }
    // Single selection: only the current cell (row mode: the current row) stays selected. Every other
    // selected flag is cleared, not just the previous cell's: rows move under the selection (inserts,
    // removals, sorts), and a remembered previous position could name the wrong cell. A current
    // cell outside the grid is brought inside first.
    void SelectCurrentOnly() {
        if (Rows() < 1 || Columns() < 1)
            return;
        m_current.row = std::clamp(m_current.row, 1L, Rows());
        m_current.column = std::clamp(m_current.column, 1L, Columns());
        SelectOnlyCurrentAsIs();
    }
    // The cell becomes current; with MultiSelect its flag (row mode: its row's) is set to
    // `selected`, without it the single selection moves there whatever `selected` is.
    void SelectCell(long row, long cellColumn, bool selected) {
        m_current = GridCursor{row, cellColumn};
        m_anchor = {};
        if (!m_multiSelect) {
            SelectCurrentOnly();
        } else if (m_rowMode) {
            for (Cell& cell : RowCells(row))
                SetSelected(row, cell, selected);
        } else {
            SetSelected(row, CellAt(row, cellColumn), selected);
        }
    }
    // The row becomes current and the selection: that row (row mode) or its cell in the current
    // column. Without a current column it takes its first shown one.
    void SelectRow(long row) {
        m_current.row = row;
        if (m_current.column < 1)
            m_current.column = std::max(FirstVisibleColumn(), 1L);
        m_anchor = {};
        if (!m_multiSelect)
            SelectCurrentOnly();
        else
            SelectOnlyCurrentAsIs();
    }
    // The column becomes current; its cell in the current row is selected.
    void SelectColumn(long cellColumn) {
        m_current.column = cellColumn;
        m_anchor = {};
        if (!CurrentRowExists())
            return;
        if (m_multiSelect)
            SetCellSelected(m_current.row, cellColumn, true);
        else
            SelectCurrentOnly();
    }
    // Nothing selected, no current cell.
    void ClearSelection() {
        UnselectAllBut([](long, long) { return false; });
        m_current = m_anchor = GridCursor{};
    }

    // --- keys and clicks ---
    // Whether the key takes the typed prefix away before it acts.
    bool KeyClearsSearch(GridKey key, short shift) const noexcept {
        switch (key) {
            case GridKey::Space:
                return (shift & kCtrlMask) && m_multiSelect;
            case GridKey::Left:
            case GridKey::Right:
            case GridKey::Up:
            case GridKey::Down:
            case GridKey::PageUp:
            case GridKey::PageDown:
            case GridKey::Home:
            case GridKey::End:
            case GridKey::Escape:
                return true;
            default:
                return false;
        }
    }

    // A key pressed with the current cell inside the grid: moves the current cell and the selection
    // and says what the window has left to do. With MultiSelect, Shift selects the span from the
    // anchor to the new current cell, as Windows lists do; Ctrl only moves the current cell. The
    // anchor is where the last selection without Shift was made.
    GridAction Key(GridKey key, short shift, const GridKeyView& view) {
        const bool extends = m_multiSelect && (shift & kShiftMask);
        const bool onlyMoves = m_multiSelect && !extends && (shift & kCtrlMask);
        if ((extends || onlyMoves) && !AnchorInside())
            m_anchor = m_current;
        const GridAction action = KeyAction(key, shift, view);
        if (action == GridAction::Toggled || (action == GridAction::Navigated && !extends && !onlyMoves))
            m_anchor = {};
        return action;
    }

    // A press on cell `at` (a row and a cell column; 0 in either for none). With MultiSelect, Shift
    // selects the span from the anchor to the clicked cell, which becomes current; Ctrl toggles it.
    GridAction Click(GridCursor at, short shift) {
        if (!at.Valid())
            return GridAction::None;
        if (!(shift & kShiftMask)) {
            m_current = at;
        } else {
            if (!m_current.Valid())
                m_current = at;
            if (m_multiSelect) {
                if (at == m_current)
                    return GridAction::Edit;
                if (!AnchorInside())
                    m_anchor = m_current;
                m_current = at;
                SelectRange(m_anchor, at);
                return GridAction::Navigated;
            }
        }
        // The cell that was current at the last paint, clicked again: an edit, not a selection.
        if (at == m_painted)
            return GridAction::Edit;
        m_anchor = {};
        if (!m_multiSelect) {
            SelectCurrentOnly();
        } else if (shift & kCtrlMask) {
            ToggleCell(at.row, at.column);
        } else if (m_rowMode) {
            SelectOnlyRow(at.row);
        } else {
            // A plain click toggles the clicked cell while clearing every other one.
            const bool wasSelected = CellAt(at.row, at.column).bSelected;
            SelectOnlyCell(at.row, at.column);
            SetCellSelected(at.row, at.column, !wasSelected);
        }
        return GridAction::Navigated;
    }

    // A press of the right button, for a context menu: on a selected cell (row mode: a selected
    // row) only the current cell moves there, so that the menu acts on the whole selection;
    // elsewhere the cell becomes current and the only selection. It never asks for an edit.
    GridAction ContextClick(GridCursor at) {
        if (!at.Valid())
            return GridAction::None;
        const bool selected = m_rowMode ? RowHasSelection(at.row) : CellAt(at.row, at.column).bSelected;
        m_current = at;
        m_anchor = {};
        if (!selected)
            SelectCurrentOnly();
        CellAt(at.row, at.column).bDirty = true;
        return GridAction::Navigated;
    }

    // --- key search ---
    // The first row from the one after the current row (from it without `loop`; from row 1 with no
    // current row) whose key-search cell `matches`, wrapping round with `loop`; 0 when none, or
    // when there is no key-search column.
    template <typename Matches>
    long FindSearchMatchRow(Matches matches, bool loop, bool visibleOnly) const {
        if (m_keySearchColumn < 1 || m_keySearchColumn > Columns())
            return 0;
        const long start = m_current.row == 0 ? 1 : (loop ? m_current.row + 1 : m_current.row);
        return FindRow(start, loop, visibleOnly, matches);
    }
    // The row a typed prefix of `length` characters goes to: a longer prefix stays on the shown
    // current row while `currentMatches()`; otherwise the search from the next row round.
    template <typename CurrentMatches, typename Matches>
    long KeySearchRow(std::size_t length, CurrentMatches currentMatches, Matches matches) const {
        if (length > 1 && CurrentRowExists() && Row(m_current.row).bVisible && currentMatches())
            return m_current.row;
        return FindSearchMatchRow(matches, true, true);
    }
    // The search found `row`: it becomes current in the key-search column and the single selection,
    // and shows the prefix `text`.
    void GoToSearchMatch(long row, std::wstring text) {
        // The prefix showed in the old current row; it shows in the found one from now on.
        if (CurrentRowExists())
            MarkRowDirty(m_current.row);
        m_current = GridCursor{row, m_keySearchColumn};
        m_anchor = {};
        if (!m_multiSelect)
            SelectCurrentOnly();
        else
            SelectOnlyCurrentAsIs();
        m_search.SetText(std::move(text));
        MarkRowDirty(row);
    }

  private:
    // Only the current cell (row mode: the current row) selected; a current cell outside the grid
    // stays where it is and leaves nothing selected.
    void SelectOnlyCurrentAsIs() {
        if (m_rowMode)
            SelectOnlyRow(m_current.row);
        else
            SelectOnlyCell(m_current.row, m_current.column);
    }
    bool SetSelected(long row, Cell& cell, bool selected) {
        if (cell.bSelected == selected)
            return false;
        cell.bSelected = selected;
        cell.bDirty = true;
        if (selected)
            m_selectedRows.Add(row);
        return true;
    }

    void KeepCurrentInside() noexcept {
        m_current.row = std::min(m_current.row, Rows());
        m_painted.row = std::min(m_painted.row, Rows());
        m_current.column = std::min(m_current.column, Columns());
        m_painted.column = std::min(m_painted.column, Columns());
    }

    GridAction KeyAction(GridKey key, short shift, const GridKeyView& view) {
        switch (key) {
            case GridKey::Space:
                if ((shift & kCtrlMask) && m_multiSelect) {
                    ToggleCell(m_current.row, m_current.column);
                    return GridAction::Toggled;
                }
                return GridAction::None;
            case GridKey::Left:
            case GridKey::Right: {
                const bool left = key == GridKey::Left;
                // Row mode has no current column to move; a group row's text may reach past the view.
                const bool sideways = m_rowMode || (shift == 0 && Row(m_current.row).bGroupRow &&
                                                    (left ? view.canScrollLeft : view.canScrollRight));
                if (sideways)
                    return left ? GridAction::ScrollLeft : GridAction::ScrollRight;
                return MoveTo(StepAcross(*this, m_current, left ? -1 : 1, m_rowMode), shift);
            }
            case GridKey::Up:
                return m_current.row >= 2 ? MoveTo(StepDown(*this, m_current, -1), shift) : GridAction::None;
            case GridKey::Down:
                return m_current.row < Rows() ? MoveTo(StepDown(*this, m_current, 1), shift) : GridAction::None;
            case GridKey::PageUp:
            case GridKey::PageDown: {
                const bool down = key == GridKey::PageDown;
                const long target = down ? PageDownRow(*this, m_current.row, view.visibleHeight)
                                         : PageUpRow(*this, m_current.row, view.visibleHeight);
                if (target < 1)
                    return GridAction::None;
                PageTo(target, shift, down);
                return GridAction::Navigated;
            }
            case GridKey::Home:
            case GridKey::End: {
                const long target = key == GridKey::Home ? FirstVisibleRow() : LastVisibleRow();
                if (target < 1)
                    return GridAction::None;
                if (m_multiSelect && (shift & kShiftMask)) {
                    m_current.row = target;
                    SelectRange(m_anchor, m_current);
                } else {
                    SelectRow(target);
                }
                return GridAction::Navigated;
            }
            case GridKey::Enter:
                return GridAction::Edit;
            case GridKey::Escape:
                return GridAction::CancelEdit;
            default:
                return GridAction::None;
        }
    }

    // The anchor of a Shift selection, when it still names a cell of the grid; otherwise the
    // current cell is.
    bool AnchorInside() const noexcept {
        return m_anchor.Valid() && m_anchor.row <= Rows() && m_anchor.column <= Columns();
    }

    // After an arrow key: without MultiSelect the single selection follows; with it Shift selects
    // the span from the anchor, Ctrl leaves the selection, no modifier selects only the new cell (row).
    GridAction MoveTo(std::optional<GridCursor> to, short shift) {
        if (!to)
            return GridAction::None;
        m_current = *to;
        if (!m_multiSelect) {
            SelectCurrentOnly();
        } else if (shift & kShiftMask) {
            SelectRange(m_anchor, m_current);
        } else if (shift == 0) {
            SelectOnlyCurrentAsIs();
        }
        // A row with no shown column leaves no current cell to mark.
        if (m_current.Valid())
            CellAt(m_current.row, m_current.column).bDirty = true;
        return GridAction::Navigated;
    }

    // Page Up or Down to `target`: without MultiSelect the single selection follows; with it Shift
    // selects the span from the anchor, Ctrl (for Page Down any modifier) only moves, no modifier
    // selects only the target's cell (row).
    void PageTo(long target, short shift, bool down) {
        if (!m_multiSelect) {
            m_current.row = target;
            SelectCurrentOnly();
        } else if (shift & kShiftMask) {
            m_current.row = target;
            SelectRange(m_anchor, m_current);
        } else if ((shift & kCtrlMask) || (down && shift != 0)) {
            m_current.row = target;
        } else if (shift == 0) {
            m_current.row = target;
            SelectOnlyCurrentAsIs();
        }
    }

    // Every cell in the rectangle from `from` to `to` selected (row mode: whole rows), every other
    // cell unselected. The rectangle spans display positions.
    void SelectRange(GridCursor from, GridCursor to) {
        const long firstRow = std::min(to.row, from.row), lastRow = std::max(to.row, from.row);
        long firstPosition = PositionOf(to.column), lastPosition = PositionOf(from.column);
        if (firstPosition > lastPosition)
            std::swap(firstPosition, lastPosition);
        std::vector<bool> inside(Index(Columns()) + 1, m_rowMode);
        for (long p = firstPosition; !m_rowMode && p <= lastPosition; ++p)
            inside[Index(CellColumnAt(p))] = true;
        UnselectAllBut([&](long r, long c) { return r >= firstRow && r <= lastRow && inside[Index(c)]; });
        for (long row = firstRow; row <= lastRow; ++row) {
            for (long c = 1; c <= Columns(); ++c) {
                if (inside[Index(c)])
                    SetCellSelected(row, c, true);
            }
        }
    }

    CellRows m_cells;
    GridCursor m_current;
    GridCursor m_painted;
    // Where a Shift selection starts; none: the current cell.
    GridCursor m_anchor;
    SelectedRows m_selectedRows;
    bool m_multiSelect = false;
    bool m_rowMode = false;
    long m_keySearchColumn = 0;
    KeySearch m_search;
};

}  // namespace ferryl
