#pragma once
// MoskGrid: the owner-drawn grid control. It owns a child window of its own class, and the owner
// hears from it through MoskGridListener. Rows, columns, cells, the current cell, the selection and
// what keys and clicks do to them are its model's (core/grid_model.h, no window code); the control
// checks arguments, paints, scrolls and raises the events.
//
// The members are grouped by concern over several files: mosk_grid.cpp (window, Draw, plain
// properties), mosk_grid_cells.cpp, mosk_grid_columns.cpp, mosk_grid_rows.cpp,
// mosk_grid_selection.cpp, mosk_grid_search.cpp, mosk_grid_sort.cpp and mosk_grid_persistence.cpp.
//
// Painting (mosk_grid_paint.cpp), the header (mosk_grid_header.cpp, header_control.h), the
// scroll bars (mosk_grid_scroll.cpp, scroll_bars.h), the metrics (mosk_grid_metrics.cpp) and the
// keyboard and mouse (mosk_grid_input.cpp) draw, scroll and drive it.

#include <windows.h>
// commctrl.h needs the types of windows.h before it.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "common/tagged_value.h"
#include "common/unique_handle.h"
#include "core/grid_model.h"
#include "grid/grid_cell.h"
#include "grid/grid_events.h"
#include "grid/grid_font.h"
#include "grid/grid_types.h"
#include "winsvc/window.h"

namespace ferryl {

class cShellSortTGridCells;
class GridPropertyStore;
class cHeaderControl;
class cFlatHeader;
class cScrollBars;
class GridAccessibility;
class GridAccessible;

class MoskGrid : public Window {
  public:
    static constexpr const wchar_t* kClassName = L"FerrylMoskGrid";
    // DT_SINGLELINE | DT_WORD_ELLIPSIS: the format CellDetails gives when none is named.
    static constexpr unsigned long kDefaultTextFormat = 0x40020;
    static constexpr unsigned long kNoPrefix = 0x800;  // DT_NOPREFIX, forced on every cell
    // Posted to itself when the header must take the column widths again once it has finished
    // with a drag it applies after notifying.
    static constexpr UINT kMsgResyncHeader = WM_APP + 0x4D47;
    // Posted by the accessible object: do what a double click on row wParam does.
    static constexpr UINT kMsgDefaultAction = WM_APP + 0x4D48;
    // The pause after which typing starts a new search and the typed prefix goes; the window timer
    // that takes the prefix away.
    static constexpr UINT kKeySearchPauseMs = KeySearch::kPauseMs;
    static constexpr UINT_PTR kKeySearchTimer = 0x4D47;

    MoskGrid();
    ~MoskGrid() override;

    // Creates the control's window as a child of `parent`.
    bool Create(HWND parent, int x, int y, int width, int height, UINT id = 0);

    // Events go to this listener; nothing (the default) drops them.
    void SetListener(MoskGridListener* listener) noexcept;

    HWND hwnd() const noexcept { return Hwnd(); }

    // --- behaviour and look ---
    bool HighlightSelectedIcons() const noexcept { return m_bHighlightSelectedIcons; }
    void HighlightSelectedIcons(bool bState);
    bool DrawFocusRectangle() const noexcept { return m_bDrawFocusRectangle; }
    void DrawFocusRectangle(bool bState);
    bool Enabled() const noexcept { return m_bEnabled; }
    void Enabled(bool bState);
    bool DisableIcons() const noexcept { return m_bDisableIcons; }
    void DisableIcons(bool bState);
    bool Editable() const noexcept { return m_bEditable; }
    void Editable(bool bState);
    bool Redraw() const noexcept { return m_bRedraw; }
    void Redraw(bool bState);
    long ScrollBarStyle() const noexcept { return m_eScrollBarStyle; }
    void ScrollBarStyle(long eStyle);
    bool MultiSelect() const noexcept { return m_model.MultiSelect(); }
    void MultiSelect(bool bState);
    bool RowMode() const noexcept { return m_model.RowMode(); }
    void RowMode(bool bState);
    bool GridLines() const noexcept { return m_bGridLines; }
    void GridLines(bool bState);
    long BorderStyle() const noexcept { return m_eBorderStyle; }
    void BorderStyle(long eStyle);
    bool Virtual() const noexcept { return m_bVirtual; }
    void Virtual(bool bVirtual);

    long BackColor() const noexcept { return m_oBackColor; }
    void BackColor(long oColor);
    long ForeColor() const noexcept { return m_oForeColor; }
    void ForeColor(long oColor);
    long HighlightBackColor() const noexcept { return m_oHighlightBackColor; }
    void HighlightBackColor(long oColor);
    long HighlightForeColor() const noexcept { return m_oHighlightForeColor; }
    void HighlightForeColor(long oColor);
    long GridLineColor() const noexcept { return m_oGridLineColor; }
    void GridLineColor(long oColor);

    // The control font: a copy of what was set, with its own GDI font.
    const GridFontRef& Font() const noexcept { return m_oFont; }
    void Font(const GridFont& sFont);

    // The DPI the grid's pixel sizes (row heights, column widths, the header's height) and its
    // fonts are for: the window's when it is created. Setting another (the window went to a monitor
    // of another scale) scales the sizes and makes the fonts again (mosk_grid_dpi.cpp).
    int Dpi() const noexcept { return m_lDpi; }
    void Dpi(int dpi);

    // Background picture: stored here; the tiling belongs to the painter.
    const ObjectRef& BackgroundPicture() const noexcept { return m_oBackgroundPicture; }
    void BackgroundPicture(const ObjectRef& sPic);
    long BackgroundPictureHeight() const noexcept { return m_lBackgroundPictureHeight; }
    void BackgroundPictureHeight(long lHeight);
    long BackgroundPictureWidth() const noexcept { return m_lBackgroundPictureWidth; }
    void BackgroundPictureWidth(long lWidth);

    // An image-list handle (a number) or an image-list object; anything else raises 0x80040419.
    void ImageList(const TaggedValue& vThis);
    HIMAGELIST ImageListHandle() const noexcept { return m_hImageList; }

    // --- header (stored; the header control itself comes with the header wrapper) ---
    bool Header() const noexcept { return m_bHeader; }
    void Header(bool bState);
    bool HeaderFlat() const noexcept { return m_bHeaderFlat; }
    void HeaderFlat(bool bState);
    long HeaderHeight() const noexcept { return m_lHeaderHeight; }
    void HeaderHeight(long lHeight);
    bool HeaderDragReOrderColumns() const noexcept { return m_bHeaderDragReOrderColumns; }
    void HeaderDragReOrderColumns(bool bState);
    bool HeaderButtons() const noexcept { return m_bHeaderButtons; }
    void HeaderButtons(bool bState);
    bool HeaderHotTrack() const noexcept { return m_bHeaderHotTrack; }
    void HeaderHotTrack(bool bState);
    void SetHeaders();

    // --- sorting ---
    cShellSortTGridCells& SortObject();
    void Sort();

    // --- metrics (mosk_grid_metrics.cpp); CellFromPoint in pixels, CellBoundary in twips ---
    long EvaluateTextHeight(long lRow, long lCol);
    long EvaluateTextWidth(long lRow, long lCol, bool bForceNoModify = true);
    void CellFromPoint(long xPixels, long yPixels, long& lRow, long& lCol);
    void CellBoundary(long lRow, long lCol, long& lLeft, long& lTop, long& lWidth, long& lHeight);
    void AutoWidthColumn(const TaggedValue& vKey);
    // Widens the column, never narrows it, so that the texts of the visible rows lFirstRow to
    // lLastRow fit as AutoWidthColumn measures them: rows that came in need not measure the rest.
    void WidenColumnToFit(const TaggedValue& vKey, long lFirstRow, long lLastRow);
    void AutoHeightRow(long lRow, long lMinimumHeight = -1);
    // Scrolls the cell into view (8 pixels inside the edge it was beyond).
    void EnsureVisible(long lRow, long lCol);

    // Repaints the rows that hold a dirty cell (every visible row after a full-repaint request);
    // nothing while Redraw is False or in design mode.
    void Draw();

    // --- rows ---
    long RowTextStartColumn() const noexcept { return m_lRowTextStartColumn; }
    void RowTextStartColumn(long lColumn) noexcept { m_lRowTextStartColumn = lColumn; }
    long DefaultRowHeight() const noexcept { return m_lDefaultRowHeightProperty; }
    void DefaultRowHeight(long lHeight);
    long Rows() const noexcept { return m_model.Rows(); }
    void Rows(long lRows);
    long RowHeight(long lRow) const;
    void RowHeight(long lRow, long lHeight);
    bool RowVisible(long lRow) const;
    void RowVisible(long lRow, bool bState);
    bool RowIsGroup(long lRow) const;
    void RowIsGroup(long lRow, bool bState);
    long RowGroupStartColumn(long lRow) const;
    void RowGroupStartColumn(long lRow, long lColumn);
    void AddRow(long lRowBefore = -1,
                const std::wstring& sKey = {},
                bool bVisible = true,
                long lHeight = -1,
                bool bGroupRow = false,
                long lGroupColStartIndex = 0);
    // One cell of a row added whole: its text and text format, as CellDetails takes them.
    struct tRowCell {
        TaggedValue sText;
        unsigned long eTextAlign = kDefaultTextFormat;
    };
    // Appends a row whose cells 1, 2, ... hold these (the rest blank) in one step: when it fails, the
    // grid is as it was.
    void AddRowWithCells(std::vector<tRowCell> cells);
    void RemoveRow(long lRow);
    void Clear(bool bRemoveCols = false);

    // --- selection ---
    long SelectedRow() const noexcept { return m_model.Current().row; }
    void SelectedRow(long lRow);
    long SelectedCol() const noexcept { return m_model.Current().column; }
    void SelectedCol(long lCol);
    void ClearSelection();
    // The rows that hold a selected cell, in ascending order.
    std::vector<long> RowsSelected() const { return m_model.RowsWithSelection(); }

    // --- cells (lCol is a cell-column index) ---
    std::wstring CellFormattedText(long lRow, long lCol) const;
    const TaggedValue& CellText(long lRow, long lCol) const;
    void CellText(long lRow, long lCol, TaggedValue sText);
    unsigned long CellTextAlign(long lRow, long lCol) const;
    void CellTextAlign(long lRow, long lCol, unsigned long eAlign);
    long CellIndent(long lRow, long lCol) const;
    void CellIndent(long lRow, long lCol, long lIndent);
    long CellExtraIcon(long lRow, long lCol) const;
    void CellExtraIcon(long lRow, long lCol, long lIconIndex);
    long CellItemData(long lRow, long lCol) const;
    void CellItemData(long lRow, long lCol, long lItemData);
    bool CellSelected(long lRow, long lCol) const;
    void CellSelected(long lRow, long lCol, bool bState);
    long CellIcon(long lRow, long lCol) const;
    void CellIcon(long lRow, long lCol, long lIconIndex);
    long CellBackColor(long lRow, long lCol) const;
    void CellBackColor(long lRow, long lCol, long oColor);
    long CellForeColor(long lRow, long lCol) const;
    void CellForeColor(long lRow, long lCol, long oColor);
    void CellDefaultForeColor(long lRow, long lCol);
    void CellDefaultBackColor(long lRow, long lCol);
    // Nothing when the cell uses the control font.
    GridFontRef CellFont(long lRow, long lCol) const;
    void CellFont(long lRow, long lCol, const GridFont& sFnt);
    void CellDefaultFont(long lRow, long lCol);
    // sText omitted (Missing) stores the missing marker as the cell value, as the caller passed it.
    // Values are taken by value so that a caller's temporary text moves into the cell uncopied.
    void CellDetails(long lRow,
                     long lCol,
                     TaggedValue sText = TaggedValue::Missing(),
                     unsigned long eTextAlign = kDefaultTextFormat,
                     long lIconIndex = -1,
                     long oBackColor = -1,
                     long oForeColor = -1,
                     const GridFont* oFont = nullptr,
                     long lIndent = 0,
                     long lExtraIconIndex = -1,
                     long lItemData = 0);
    cGridCell Cell(long lRow, long lCol);
    void Cell(long lRow, long lCol, const cGridCell& cG);
    cGridCell NewCellFormatObject() const { return cGridCell(); }

    // --- columns (vKey: a key text, or a number meaning a cell-column index) ---
    long AddColumn(const std::wstring& vKey = {},
                   const std::wstring& sHeader = {},
                   long eAlign = 0,
                   long iIconIndex = -1,
                   long lColumnWidth = -1,
                   bool bVisible = true,
                   bool bFixed = false,
                   const TaggedValue& vKeyBefore = TaggedValue::Missing(),
                   bool bIncludeInSelect = true,
                   const std::wstring& sFmtString = {},
                   bool bRowTextColumn = false,
                   long eSortType = 102);
    void RemoveColumn(const TaggedValue& vKey);
    long Columns() const noexcept { return m_model.Columns(); }
    long ColumnIndex(const TaggedValue& vKey) const;
    std::wstring ColumnKey(long lCol) const;
    void ColumnKey(long lCol, const std::wstring& sKey);
    std::wstring ColumnTag(long lCol) const;
    void ColumnTag(long lCol, const std::wstring& sTag);
    std::wstring ColumnHeader(const TaggedValue& vKey) const;
    void ColumnHeader(const TaggedValue& vKey, const std::wstring& sHeader);
    long ColumnImage(const TaggedValue& vKey) const;
    void ColumnImage(const TaggedValue& vKey, long lImage);
    bool ColumnImageOnRight(const TaggedValue& vKey) const;
    void ColumnImageOnRight(const TaggedValue& vKey, bool bState);
    long ColumnAlign(const TaggedValue& vKey) const;
    void ColumnAlign(const TaggedValue& vKey, long eAlign);
    std::wstring ColumnFormatString(const TaggedValue& vKey) const;
    void ColumnFormatString(const TaggedValue& vKey, const std::wstring& sFmtString);
    long ColumnSortType(const TaggedValue& vKey) const;
    void ColumnSortType(const TaggedValue& vKey, long eSortType);
    long ColumnSortOrder(const TaggedValue& vKey) const;
    void ColumnSortOrder(const TaggedValue& vKey, long eSortOrder);
    bool ColumnVisible(const TaggedValue& vKey) const;
    void ColumnVisible(const TaggedValue& vKey, bool bState);
    long ColumnWidth(const TaggedValue& vKey) const;
    void ColumnWidth(const TaggedValue& vKey, long lWidth);
    long ColumnOrder(const TaggedValue& vKey) const { return ColumnIndex(vKey); }
    void ColumnOrder(const TaggedValue& vKey, long lOrder);

    // --- key search ---
    long KeySearchColumn() const noexcept { return m_model.KeySearchColumn(); }
    void KeySearchColumn(long lCol) noexcept { m_model.SetKeySearchColumn(lCol); }
    long FindSearchMatchRow(const std::wstring& sSearchString, bool bLoop = true, bool bVisibleRowsOnly = true) const;

    // --- editing ---
    // Asks the owner to edit the current cell (RequestEdit); the painter's and the input's entry
    // point, public so that the owner's own commands can start an edit too.
    void RequestCellEdit(short iKeyAscii = 0);
    bool InEdit() const noexcept { return m_bInEdit; }
    void CancelEdit();

    // --- virtual mode ---
    // Called by whatever reaches a row past Rows (the painter, the scroll range): raises RequestRow
    // and, unless the owner says there are no more rows, appends the row and raises RequestRowData.
    // Returns True when the row now exists.
    bool RequestVirtualRow(long lRow);
    bool MoreRows() const noexcept { return m_bMoreRows; }

    // --- persistence (the host's property store) ---
    // A new instance placed in a container; `containerFont` is the container's font.
    void InitProperties(const GridFont& containerFont);
    void ReadProperties(const GridPropertyStore& store, bool bUserMode = true);
    void WriteProperties(GridPropertyStore& store) const;
    bool UserMode() const noexcept { return m_bUserMode; }

    // --- read-only views of the storage, for the painter, the header and the tests ---
    const tGridCellTable& CellTable() const noexcept { return m_model.Cells(); }
    // Row starts are brought up to date on the way out.
    const tGridRowTable& RowTable() const noexcept { return m_model.RowTable(); }
    // The top of a row measured from the top of row 1.
    long RowStartY(long lRow) const noexcept { return m_model.RowStartY(lRow); }
    const tGridColumnTable& ColumnTable() const noexcept { return m_model.ColumnTable(); }
    const GridFontList& FontList() const noexcept { return m_fonts; }
    HFONT FontHandle() const noexcept { return m_hFont.get(); }
    long RowTextColumn() const noexcept { return m_model.RowTextPosition(); }
    bool HasRowText() const noexcept { return m_model.HasRowText(); }
    bool Dirty() const noexcept { return m_bDirty; }
    long RowBufferHeight() const noexcept { return m_lRowBufferHeight; }

    // --- what the painter and the scroll bars hold, for the owner's layout and the tests ---
    // Rows composed by the last Draw (a row whose cells were all clean is not counted).
    long PaintedRowCount() const noexcept { return m_lPaintedRows; }
    long ScrollOffsetX() const noexcept { return m_lScrollX; }
    long ScrollOffsetY() const noexcept { return m_lScrollY; }
    long VisibleDataWidth() const noexcept { return m_lVisibleWidth; }
    long VisibleDataHeight() const noexcept { return m_lVisibleHeight; }
    // The header window (nothing before Create).
    HWND HeaderHwnd() const noexcept;
    cHeaderControl* HeaderObject() const noexcept { return m_cHeader.get(); }
    // Only in run mode; nothing in design mode.
    cScrollBars* ScrollBarsObject() const noexcept { return m_cScroll.get(); }
    // The typed key-search prefix the painter shows in the current row's KeySearchColumn cell.
    const std::wstring& KeySearchText() const noexcept { return m_model.Search().Text(); }
    void KeySearchText(const std::wstring& sText);

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

  private:
    // Active Accessibility (grid_accessible.cpp) reads the grid and selects rows as user input does.
    friend class GridAccessibility;
    friend class GridAccessible;

    // Storage helpers (mosk_grid_cells.cpp, mosk_grid_columns.cpp, mosk_grid_rows.cpp).
    bool ValidateCell(long lRow, long lCol) const;
    tGridCell& CheckedCell(long lRow, long lCol);
    const tGridCell& CheckedCell(long lRow, long lCol) const;
    void CellChanged(tGridCell& cell);
    long FindColumn(const TaggedValue& vKey) const;
    const tGridColumn& ColumnEntry(const TaggedValue& vKey) const;
    tGridColumn& ColumnEntry(const TaggedValue& vKey);
    void ValidateNewKey(const std::wstring& sKey) const;
    void CheckRow(long lRow) const;
    // Rows were added or removed: the screen readers and the owner hear of it.
    void RowCountChanged();
    std::vector<tGridCell> BlankRow() const;
    void UpdateHeaderItem(const tGridColumn& column);
    long FindOrAddFont(const GridFont& font);
    void BuildRowBuffer(long lHeight);

    void PropertyChanged(std::wstring_view name);
    void Paint() noexcept;
    // Puts a new control font in place, in the row buffer too, before the old one is deleted.
    void ReplaceControlFont(UniqueFont font);

    // Painter (mosk_grid_paint.cpp).
    struct tRowPaint;
    GridVisibleRange GetVisibleRange() const;
    // One pass of Draw; True when the rows must be laid out and drawn once more.
    bool DrawRows();
    void DrawCell(tRowPaint& rp, long lRow, long lPos);
    void DrawRowText(tRowPaint& rp, long lRow);
    void InvalidateVisibleCells(bool bForce);
    void FillBackground(HDC hdc, const RECT& rc, long xOffset, long yOffset);
    long HeaderVisibleHeight() const noexcept;
    HFONT CellFontHandle(const tGridCell& cell) const noexcept;
    // The text a cell shows through a column's format string; empty for what cannot be shown.
    std::wstring CellShownText(const tGridCell& cell, const std::wstring& format) const;
    // A cell's format as DrawText takes it here. DT_MODIFYSTRING would have DrawText write the
    // shortened text and its ellipsis back into the string, past the end of a short one; nothing
    // here wants the shortened text.
    static UINT DrawTextFormat(unsigned long eTextFormat) noexcept {
        return static_cast<UINT>(eTextFormat) & ~static_cast<UINT>(DT_MODIFYSTRING);
    }
    void OnSize() noexcept;
    void OnFocus(bool bHasFocus) noexcept;

    // Header (mosk_grid_header.cpp).
    class HeaderSink;
    friend class HeaderSink;
    void CreateHeader();
    void PositionHeader();
    long ColumnOfHeaderItem(long lItem, bool bVisibleOnly) const;
    RECT DragLine(long lItem, long lWidth) const;
    void m_cHeader_ColumnBeginDrag(long& lColumn);
    void m_cHeader_ColumnClick(long& lColumn);
    void m_cHeader_StartColumnWidthChange(long& lColumn, long lWidth, bool& bCancel);
    void m_cHeader_ColumnWidthChanging(long& lColumn, long lWidth, bool& bCancel);
    void m_cHeader_ColumnWidthChanged(long& lColumn, long lWidth);
    void m_cHeader_DividerDblClick(long& lColumn);
    void m_cHeader_ColumnEndDrag(long& lColumn, long& lOrder);
    void m_cHeader_RightClick(float& x, float& y);
    void m_cHeader_RecreateControl();
    void m_cHeader_CaptureLost();

    // Metrics (mosk_grid_metrics.cpp).
    long MeasureTextWidth(long lRow, long lCol, bool bNoModify, long lMinimum);
    // The width the widest of the visible rows' cells in the cell column needs, at least 26.
    long WidestCellWidth(long lCol, long lFirstRow, long lLastRow);
    bool ScrollCellIntoView(long lRow, long lCol);

    // Input (mosk_grid_input.cpp).
    // True when the owner handled an Alt+key: its KeyDown set KeyCode to 0.
    bool OnKeyMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void OnKeyDown(short KeyCode, short Shift) noexcept;
    void OnChar(wchar_t ch) noexcept;
    void OnMouseDown(short Button, WPARAM wParam, LPARAM lParam) noexcept;
    void OnMouseMoveOrUp(UINT message, short Button, WPARAM wParam, LPARAM lParam) noexcept;
    void OnDblClick() noexcept;
    void OnMouseWheel(WPARAM wParam) noexcept;
    void KeyDownDefault(short KeyCode, short Shift);
    void MouseDownDefault(short Button, short Shift, long xPixels, long yPixels);
    void FinishNavigation();
    // Raises SelectionChange when the current cell is no longer `old`.
    void SelectionChangedFrom(const GridCursor& old);
    // Adds a typed character to the search; "\b" takes the last character away.
    void KeySearchTyped(const std::wstring& typed);
    // Whether the key-search cell of a row starts with the upper-case `search`.
    bool KeySearchCellMatches(long lRow, const std::wstring& search) const;
    // Takes the typed prefix away, from the screen too.
    void ClearKeySearch();
    void ScrollBy(long eBar, long lDelta);

    // Scroll bars (mosk_grid_scroll.cpp).
    class ScrollSink;
    friend class ScrollSink;
    void CreateScrollBars();
    void UpdateScrollRanges();
    void m_cScroll_Change(long& eBar);

    MoskGridListener* m_listener;
    // Weak references held by cGridCell objects resolve through this token; it dies with the grid.
    std::shared_ptr<MoskGrid*> m_self;

    // The rows, columns and cells, the current cell, the selection and the typed search prefix.
    GridModel<tGridCell> m_model;
    tGridCell m_tBlankCell;
    GridFontList m_fonts;
    std::unique_ptr<cShellSortTGridCells> m_sort;

    // DefaultRowHeight as set (and saved), and the height in use: at least 1 pixel, since rows of no
    // height would never fill the view that virtual rows are asked for until it is full.
    long m_lDefaultRowHeightProperty = 20;
    long m_lDefaultRowHeight = 20;
    long m_lDefaultColumnWidth = 64;
    long m_lRowTextStartColumn = 0;
    bool m_bVirtual = false;
    bool m_bMoreRows = false;
    bool m_bDirty = false;
    long m_lRowBufferHeight = 0;
    bool m_bInEdit = false;
    bool m_bUserMode = true;

    bool m_bRedraw = true;
    // The cell to scroll into view once painting resumes (0: none); while it is held the scroll
    // ranges are not set, for the rows still coming in would change them again.
    long m_lScrollIntoViewRow = 0;
    long m_lScrollIntoViewCol = 0;
    bool m_bHighlightSelectedIcons = true;
    bool m_bDrawFocusRectangle = true;
    bool m_bEnabled = true;
    bool m_bDisableIcons = false;
    bool m_bEditable = false;
    long m_eScrollBarStyle = 0;
    bool m_bGridLines = false;
    long m_eBorderStyle = 1;
    long m_oBackColor = static_cast<long>(0x80000005);
    long m_oForeColor = static_cast<long>(0x80000008);
    long m_oHighlightBackColor = static_cast<long>(0x8000000D);
    long m_oHighlightForeColor = static_cast<long>(0x8000000E);
    long m_oGridLineColor = static_cast<long>(0x8000000F);
    GridFontRef m_oFont;
    UniqueFont m_hFont;
    int m_lDpi = 96;
    ObjectRef m_oBackgroundPicture;
    long m_lBackgroundPictureHeight = 0;
    long m_lBackgroundPictureWidth = 0;
    HIMAGELIST m_hImageList = nullptr;
    int m_lIconWidth = 0;
    int m_lIconHeight = 0;
    bool m_bHeader = true;
    bool m_bHeaderFlat = false;
    long m_lHeaderHeight = 20;
    bool m_bHeaderDragReOrderColumns = true;
    bool m_bHeaderButtons = true;
    bool m_bHeaderHotTrack = true;

    // Painter state.
    UniqueMemoryDC m_hRowDC;
    UniqueBitmap m_hRowBitmap;
    HGDIOBJ m_hRowOldBitmap = nullptr;
    HGDIOBJ m_hRowOldFont = nullptr;
    long m_lRowBufferWidth = 0;
    // Its scroll offsets are those at which the screen shows the rows: set by each paint and by the
    // ScrollDC of a small scroll.
    GridVisibleRange m_tLastVisible;
    long m_lScrollX = 0;
    long m_lScrollY = 0;
    long m_lVisibleWidth = 0;
    long m_lVisibleHeight = 0;
    bool m_bHasFocus = false;
    bool m_bForceFullInvalidate = false;
    bool m_bInDraw = false;
    long m_lPaintedRows = 0;
    // The owner refused the last width of the divider drag: the drop keeps the column's width.
    bool m_bWidthTrackRefused = false;
    bool m_bMouseDown = false;
    // The owner handled the Alt+key just pressed: the WM_SYSCHAR it brings goes no further.
    bool m_bSysKeyHandled = false;
    int m_wheelRemainder = 0;

    std::unique_ptr<HeaderSink> m_headerSink;
    std::unique_ptr<cHeaderControl> m_cHeader;
    std::unique_ptr<cFlatHeader> m_cFlatHeader;
    std::unique_ptr<ScrollSink> m_scrollSink;
    std::unique_ptr<cScrollBars> m_cScroll;
    std::unique_ptr<GridAccessibility> m_access;
};

}  // namespace ferryl
