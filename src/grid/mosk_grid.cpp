#include "grid/mosk_grid.h"

#include "common/ole_color.h"
#include "grid/grid_errors.h"
#include "grid/shell_sort.h"

namespace ferryl {
namespace {

// Where events go while the owner has not named a listener.
MoskGridListener& NoListener() {
    static MoskGridListener listener;
    return listener;
}

}  // namespace

MoskGrid::MoskGrid()
    : m_listener(&NoListener()), m_self(std::make_shared<MoskGrid*>(this)), m_tCells(1), m_tRows(1), m_tCols(1) {
    m_tCols[0].lCellColIndex = 0;
    m_tCols[0].lWidth = 0;
    m_oFont = std::make_shared<GridFont>();
    m_hFont = CreateGridFont(*m_oFont, nullptr);
}

// Out of line: the sort object is only declared in the header.
MoskGrid::~MoskGrid() = default;

bool MoskGrid::Create(HWND parent, int x, int y, int width, int height, UINT id) {
    if (!RegisterWindowClass(kClassName))
        return false;
    DWORD exStyle = m_eBorderStyle == 1 ? WS_EX_CLIENTEDGE : m_eBorderStyle == 2 ? WS_EX_STATICEDGE : 0;
    HWND created = CreateHandle(kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, exStyle, x, y,
                                width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    if (!created)
        return false;
    if (!m_bEnabled)
        ::EnableWindow(created, FALSE);
    // The control font may have been set before there was a window; measure it against ours now.
    WindowDC dc(created);
    m_hFont = CreateGridFont(*m_oFont, dc.get());
    return true;
}

void MoskGrid::SetListener(MoskGridListener* listener) noexcept {
    m_listener = listener ? listener : &NoListener();
}

void MoskGrid::PropertyChanged(std::wstring_view name) {
    m_listener->PropertyChanged(name);
}

LRESULT MoskGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers the whole area; erasing first would flicker
        default:
            return Window::HandleMessage(message, wParam, lParam);
    }
}

void MoskGrid::Paint() noexcept {
    PaintDC dc(Hwnd());
    // Only the background until the painter lands: rows, cells, selection and grid lines are its work.
    long color = TranslateColor(m_bEnabled ? m_oBackColor : SystemColor(COLOR_BTNFACE));
    UniqueBrush brush(::CreateSolidBrush(color < 0 ? ::GetSysColor(COLOR_WINDOW) : static_cast<COLORREF>(color)));
    ::FillRect(dc.get(), &dc.paint().rcPaint, brush.get());
}

void MoskGrid::Draw() {
    // Nothing paints while Redraw is off, nor in design mode.
    if (!m_bRedraw || !m_bUserMode || !Hwnd())
        return;
    // The painter will repaint only the dirty cells and rows; until then the whole area is invalidated.
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
}

void MoskGrid::MarkAllCellsDirty() {
    for (auto& row : m_tCells) {
        for (auto& cell : row)
            cell.bDirty = true;
    }
}

// --- behaviour and look ---

void MoskGrid::HighlightSelectedIcons(bool bState) {
    m_bHighlightSelectedIcons = bState;
    PropertyChanged(L"HighlightSelectedIcons");
}

void MoskGrid::DrawFocusRectangle(bool bState) {
    m_bDrawFocusRectangle = bState;
    PropertyChanged(L"DrawFocusRectangle");
}

void MoskGrid::Enabled(bool bState) {
    m_bEnabled = bState;
    if (Hwnd())
        ::EnableWindow(Hwnd(), bState ? TRUE : FALSE);
    // The header wrapper, when it exists, is enabled and disabled with the grid.
    MarkAllCellsDirty();
    m_bDirty = true;
    Draw();
    PropertyChanged(L"Enabled");
}

void MoskGrid::DisableIcons(bool bState) {
    m_bDisableIcons = bState;
    m_bDirty = true;
    Draw();
    PropertyChanged(L"DisableIcons");
}

void MoskGrid::Editable(bool bState) {
    m_bEditable = bState;
    PropertyChanged(L"Editable");
}

void MoskGrid::Redraw(bool bState) {
    m_bRedraw = bState;
    if (m_bUserMode) {
        m_bDirty = true;
        Draw();
    }
    PropertyChanged(L"Redraw");
}

void MoskGrid::ScrollBarStyle(long eStyle) {
    // Applied to the bars by the scroll-bar wrapper, which is not built yet.
    m_eScrollBarStyle = eStyle;
    PropertyChanged(L"ScrollBarStyle");
}

void MoskGrid::GridLines(bool bState) {
    m_bGridLines = bState;
    m_bDirty = true;
    Draw();
    PropertyChanged(L"GridLines");
}

void MoskGrid::BorderStyle(long eStyle) {
    m_eBorderStyle = eStyle;
    if (HWND hwnd = Hwnd()) {
        LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
        exStyle &= ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
        if (eStyle == 1)
            exStyle |= WS_EX_CLIENTEDGE;
        else if (eStyle == 2)
            exStyle |= WS_EX_STATICEDGE;
        ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle);
        // The non-client area is cached: without SWP_FRAMECHANGED the old edge stays until a resize.
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    PropertyChanged(L"BorderStyle");
}

void MoskGrid::Virtual(bool bVirtual) {
    m_bVirtual = bVirtual;
    m_bMoreRows = bVirtual;
    PropertyChanged(L"Virtual");
}

void MoskGrid::BackColor(long oColor) {
    m_oBackColor = oColor;
    m_bDirty = true;
    Draw();
    PropertyChanged(L"BackColor");
}

void MoskGrid::ForeColor(long oColor) {
    m_oForeColor = oColor;
    m_bDirty = true;
    Draw();
    PropertyChanged(L"ForeColor");
}

void MoskGrid::HighlightBackColor(long oColor) {
    m_oHighlightBackColor = oColor;
    PropertyChanged(L"HighlightBackColor");
}

void MoskGrid::HighlightForeColor(long oColor) {
    m_oHighlightForeColor = oColor;
    PropertyChanged(L"HighlightForeColor");
}

void MoskGrid::GridLineColor(long oColor) {
    m_oGridLineColor = oColor;
    m_bDirty = true;
    Draw();
    PropertyChanged(L"GridLineColor");
}

void MoskGrid::Font(const GridFont& sFont) {
    m_oFont = std::make_shared<GridFont>(sFont);
    WindowDC dc(Hwnd());
    m_hFont = CreateGridFont(*m_oFont, dc.get());
    // The header wrapper and the row buffer take the new font when they exist.
    m_bDirty = true;
    Draw();
    PropertyChanged(L"Font");
}

void MoskGrid::BackgroundPicture(const ObjectRef& sPic) {
    // The painter tiles it; the tile size comes from the picture surface once pictures are drawn.
    m_oBackgroundPicture = sPic;
    m_bDirty = true;
    Draw();
    PropertyChanged(L"BackgroundPicture");
}

void MoskGrid::BackgroundPictureHeight(long lHeight) {
    m_lBackgroundPictureHeight = lHeight;
    PropertyChanged(L"BackgroundPictureHeight");
}

void MoskGrid::BackgroundPictureWidth(long lWidth) {
    m_lBackgroundPictureWidth = lWidth;
    PropertyChanged(L"BackgroundPictureWidth");
}

void MoskGrid::ImageList(const TaggedValue& vThis) {
    HIMAGELIST handle = nullptr;
    if (vThis.kind() == TaggedValue::Kind::Number) {
        handle = reinterpret_cast<HIMAGELIST>(static_cast<INT_PTR>(vThis.ToNumber()));
    } else if (vThis.IsObject()) {
        // No image-list object type exists in this program: an object gives handle 0, as an object
        // that fails to hand out its handle does.
        handle = nullptr;
    } else {
        RaiseGridError(kErrGridObject, kTextImageList);
    }
    if (handle) {
        m_hImageList = handle;
        if (!::ImageList_GetIconSize(handle, &m_lIconWidth, &m_lIconHeight))
            m_lIconWidth = m_lIconHeight = 0;
    }
}

// --- header: stored here; building the header control's items is the header wrapper's work ---

void MoskGrid::Header(bool bState) {
    m_bHeader = bState;
    SetHeaders();
    PropertyChanged(L"Header");
}

void MoskGrid::HeaderFlat(bool bState) {
    m_bHeaderFlat = bState;
    PropertyChanged(L"HeaderFlat");
}

void MoskGrid::HeaderHeight(long lHeight) {
    m_lHeaderHeight = lHeight;
    PropertyChanged(L"HeaderHeight");
}

void MoskGrid::HeaderDragReOrderColumns(bool bState) {
    m_bHeaderDragReOrderColumns = bState;
    PropertyChanged(L"HeaderDragReOrderColumns");
}

void MoskGrid::HeaderButtons(bool bState) {
    m_bHeaderButtons = bState;
    PropertyChanged(L"HeaderButtons");
}

void MoskGrid::HeaderHotTrack(bool bState) {
    m_bHeaderHotTrack = bState;
    PropertyChanged(L"HeaderHotTrack");
}

void MoskGrid::SetHeaders() {
    // The header control does not exist yet, so there are no items to build; the header wrapper
    // fills this in and sets each column's lHeaderColIndex.
}

void MoskGrid::UpdateHeaderItem(const tGridColumn& /*column*/) {
    // As SetHeaders: nothing to update while there is no header control.
}

// --- metrics: measuring, hit testing and scrolling come with the metrics and scroll-bar work ---

long MoskGrid::EvaluateTextHeight(long lRow, long lCol) {
    ValidateCell(lRow, lCol);
    RaiseGridError(kErrNotSupported);
}

long MoskGrid::EvaluateTextWidth(long lRow, long lCol, bool /*bForceNoModify*/) {
    ValidateCell(lRow, lCol);
    RaiseGridError(kErrNotSupported);
}

void MoskGrid::CellFromPoint(long /*xPixels*/, long /*yPixels*/, long& lRow, long& lCol) {
    lRow = 0;
    lCol = 0;
    RaiseGridError(kErrNotSupported);
}

void MoskGrid::CellBoundary(long /*lRow*/, long /*lCol*/, long& lLeft, long& lTop, long& lWidth, long& lHeight) {
    lLeft = lTop = lWidth = lHeight = 0;
    RaiseGridError(kErrNotSupported);
}

void MoskGrid::AutoWidthColumn(const TaggedValue& vKey) {
    ColumnIndex(vKey);
    RaiseGridError(kErrNotSupported);
}

void MoskGrid::AutoHeightRow(long lRow, long /*lMinimumHeight*/) {
    if (lRow < 1 || lRow > Rows())
        RaiseGridError(kErrSubscriptOutOfRange);
    RaiseGridError(kErrNotSupported);
}

void MoskGrid::EnsureVisible(long /*lRow*/, long /*lCol*/) {
    Draw();
}

void MoskGrid::BuildRowBuffer(long lHeight) {
    // The one-row drawing buffer itself belongs to the painter; the height is what the storage
    // decides, so it is kept now.
    m_lRowBufferHeight = lHeight;
}

// --- editing ---

void MoskGrid::RequestCellEdit(short iKeyAscii) {
    if (!m_bEnabled || !m_bEditable || m_lSelectedRow < 1 || m_lSelectedCol < 1)
        return;
    // The owner's bCancel is the in-edit flag itself: what it leaves there decides.
    m_bInEdit = true;
    m_listener->RequestEdit(m_lSelectedRow, m_lSelectedCol, iKeyAscii, m_bInEdit);
}

void MoskGrid::CancelEdit() {
    if (!m_bInEdit)
        return;
    m_listener->CancelEdit();
    m_bInEdit = false;
}

// --- virtual mode ---

bool MoskGrid::RequestVirtualRow(long lRow) {
    if (!m_bVirtual || !m_bMoreRows || Columns() < 1 || lRow <= Rows())
        return lRow >= 1 && lRow <= Rows();
    std::wstring sKey;
    bool bVisible = true;
    long lHeight = m_lDefaultRowHeight;
    bool bGroupRow = false;
    bool bNoMoreRows = false;
    m_listener->RequestRow(lRow, sKey, bVisible, lHeight, bGroupRow, bNoMoreRows);
    if (bNoMoreRows) {
        m_bMoreRows = false;
        return false;
    }
    AddRow(-1, {}, true, m_lDefaultRowHeight, false, 0);
    m_listener->RequestRowData(Rows());
    return lRow <= Rows();
}

// --- sorting lives in mosk_grid_sort.cpp; the sort object is created on first use there ---

}  // namespace ferryl
