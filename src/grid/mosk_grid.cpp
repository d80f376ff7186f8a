#include "grid/mosk_grid.h"

#include <utility>

#include "common/continue_on_error.h"
#include "common/ole_color.h"
#include "common/twips.h"
#include "grid/flat_header.h"
#include "grid/grid_accessible.h"
#include "grid/grid_errors.h"
#include "grid/grid_picture.h"
#include "grid/header_control.h"
#include "grid/mosk_grid_sinks.h"
#include "grid/scroll_bars.h"
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
    : m_listener(&NoListener()),
      m_self(std::make_shared<MoskGrid*>(this)),
      m_access(std::make_unique<GridAccessibility>(*this)) {
    m_oFont = std::make_shared<GridFont>();
    m_lDpi = ScreenDpi();
    m_hFont = CreateGridFont(*m_oFont, m_lDpi);
}

MoskGrid::~MoskGrid() {
    // The wrappers detach from the window while it still exists.
    m_cFlatHeader.reset();
    m_cScroll.reset();
    m_cHeader.reset();
    // A bitmap or font still selected into the row buffer would not be freed: put the originals back.
    if (m_hRowDC) {
        if (m_hRowOldBitmap)
            ::SelectObject(m_hRowDC.get(), m_hRowOldBitmap);
        if (m_hRowOldFont)
            ::SelectObject(m_hRowDC.get(), m_hRowOldFont);
    }
    m_hRowBitmap.reset();
    m_hRowDC.reset();
}

bool MoskGrid::Create(HWND parent, int x, int y, int width, int height, UINT id) {
    if (!RegisterWindowClass(kClassName))
        return false;
    DWORD exStyle = m_eBorderStyle == 1 ? WS_EX_CLIENTEDGE : m_eBorderStyle == 2 ? WS_EX_STATICEDGE : 0;
    HWND created = CreateHandle(kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, exStyle, x, y,
                                width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    if (!created)
        return false;
    // The fonts may have been made before there was a window; make them at the window's DPI now.
    m_lDpi = WindowDpi(created);
    m_hFont = CreateGridFont(*m_oFont, m_lDpi);
    m_fonts.Recreate(m_lDpi);
    CreateHeader();
    if (m_bUserMode)
        CreateScrollBars();
    if (m_lRowBufferHeight > 0)
        BuildRowBuffer(m_lRowBufferHeight);
    UpdateScrollRanges();
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
        case WM_SIZE:
            OnSize();
            return 0;
        case WM_GETDLGCODE:
            // Arrows and typed characters are the grid's. Tab and Enter stay with a parent that runs
            // the dialog keys (Tab to the next control, Enter to the default button), as with the
            // system's list view; without one the grid gets them and Tab moves between cells.
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
        case WM_KEYUP:
            OnKeyMessage(message, wParam, lParam);
            return 0;
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            // Alt+key reaches the owner as a key with the Alt bit; the system's own handling (Alt+F4,
            // the menu mnemonics) follows as for any window, unless the owner handled the key.
            if (OnKeyMessage(message, wParam, lParam))
                return 0;
            return Window::HandleMessage(message, wParam, lParam);
        case WM_SYSCHAR:
            // The character of an Alt+key the owner handled: DefWindowProc would look it up as a menu
            // mnemonic and beep when none has it (Alt+Enter).
            if (std::exchange(m_bSysKeyHandled, false))
                return 0;
            return Window::HandleMessage(message, wParam, lParam);
        case WM_CHAR:
            OnChar(static_cast<wchar_t>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnMouseDown(1, wParam, lParam);
            return 0;
        case WM_RBUTTONDOWN:
            OnMouseDown(2, wParam, lParam);
            return 0;
        case WM_MBUTTONDOWN:
            OnMouseDown(4, wParam, lParam);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMoveOrUp(message,
                            static_cast<short>((wParam & MK_LBUTTON ? 1 : 0) | (wParam & MK_RBUTTON ? 2 : 0) |
                                               (wParam & MK_MBUTTON ? 4 : 0)),
                            wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
            OnMouseMoveOrUp(message, 1, wParam, lParam);
            return 0;
        case WM_RBUTTONUP:
            OnMouseMoveOrUp(message, 2, wParam, lParam);
            // The system makes the release a WM_CONTEXTMENU, which goes on to the owner.
            return Window::HandleMessage(message, wParam, lParam);
        case WM_MBUTTONUP:
            OnMouseMoveOrUp(message, 4, wParam, lParam);
            return 0;
        case WM_LBUTTONDBLCLK:
            OnDblClick();
            return 0;
        case WM_MOUSEWHEEL:
            OnMouseWheel(wParam);
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the mouse: no button release will come, so the press ends here.
            m_bMouseDown = false;
            return 0;
        case WM_TIMER:
            if (wParam != kKeySearchTimer)
                return Window::HandleMessage(message, wParam, lParam);
            ContinueOnError(L"MoskGrid: key search timer", [&] { ClearKeySearch(); });
            return 0;
        case kMsgResyncHeader:
            ContinueOnError(L"MoskGrid: header resync", [&] { SetHeaders(); });
            return 0;
        case WM_SETFOCUS:
            OnFocus(true);
            return 0;
        case WM_KILLFOCUS:
            OnFocus(false);
            return 0;
        case WM_GETOBJECT:
            if (LRESULT object = m_access->OnGetObject(wParam, lParam))
                return object;
            return Window::HandleMessage(message, wParam, lParam);
        case kMsgDefaultAction:
            m_access->DoDefaultAction(static_cast<long>(wParam));
            return 0;
        case WM_NCDESTROY:
            m_access->Disconnect();
            return Window::HandleMessage(message, wParam, lParam);
        default:
            return Window::HandleMessage(message, wParam, lParam);
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
    // The window itself stays enabled: a disabled grid still takes the focus and scrolls with its
    // bars and keys, as its input handling decides; the system would deliver nothing to it.
    m_bEnabled = bState;
    if (m_cHeader)
        m_cHeader->Enabled(bState);
    m_model.MarkAllDirty();
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
        if (bState && m_lScrollIntoViewRow != 0) {
            // Sets the ranges once for all the rows that came in while painting was held.
            const long row = std::exchange(m_lScrollIntoViewRow, 0);
            ScrollCellIntoView(row, std::exchange(m_lScrollIntoViewCol, 0));
        }
        Draw();
    }
    PropertyChanged(L"Redraw");
}

void MoskGrid::ScrollBarStyle(long eStyle) {
    m_eScrollBarStyle = eStyle;
    if (m_cScroll)
        m_cScroll->Style(eStyle);
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
    m_bDirty = true;
    Draw();
    PropertyChanged(L"HighlightBackColor");
}

void MoskGrid::HighlightForeColor(long oColor) {
    m_oHighlightForeColor = oColor;
    m_bDirty = true;
    Draw();
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
    ReplaceControlFont(CreateGridFont(*m_oFont, m_lDpi));
    if (m_cHeader)
        m_cHeader->Font(*m_oFont, m_lDpi);
    m_bDirty = true;
    Draw();
    PropertyChanged(L"Font");
}

void MoskGrid::ReplaceControlFont(UniqueFont font) {
    // A font still selected into a device context is not freed: the row buffer takes the new one
    // first. The font it came with is still the one put back at the end.
    if (m_hRowDC)
        ::SelectObject(m_hRowDC.get(), font.get());
    m_hFont = std::move(font);
}

void MoskGrid::BackgroundPicture(const ObjectRef& sPic) {
    // A GridPicture is tiled behind the cells; any other object paints the plain background. The
    // tile is the new picture's own size: sizes left from an earlier picture would not fit it.
    m_oBackgroundPicture = sPic;
    auto picture = std::dynamic_pointer_cast<GridPicture>(sPic);
    m_lBackgroundPictureWidth = picture ? picture->Width() : 0;
    m_lBackgroundPictureHeight = picture ? picture->Height() : 0;
    m_bDirty = true;
    Draw();
    PropertyChanged(L"BackgroundPicture");
}

void MoskGrid::BackgroundPictureHeight(long lHeight) {
    m_lBackgroundPictureHeight = lHeight;
    m_bDirty = true;
    Draw();
    PropertyChanged(L"BackgroundPictureHeight");
}

void MoskGrid::BackgroundPictureWidth(long lWidth) {
    m_lBackgroundPictureWidth = lWidth;
    m_bDirty = true;
    Draw();
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
        if (m_cHeader)
            m_cHeader->ImageList(handle);
        SetHeaders();
        m_bDirty = true;
        Draw();
    }
}

// --- header ---

void MoskGrid::Header(bool bState) {
    m_bHeader = bState;
    if (m_cHeader)
        m_cHeader->Visible(bState);
    PositionHeader();
    m_bDirty = true;
    Draw();
    PropertyChanged(L"Header");
}

void MoskGrid::HeaderFlat(bool bState) {
    m_bHeaderFlat = bState;
    if (bState && Hwnd() && m_bUserMode) {
        if (!m_cFlatHeader)
            m_cFlatHeader = std::make_unique<cFlatHeader>();
        m_cFlatHeader->Attach(Hwnd());
    } else if (m_cFlatHeader) {
        m_cFlatHeader->Detach();
    }
    PropertyChanged(L"HeaderFlat");
}

void MoskGrid::HeaderHeight(long lHeight) {
    m_lHeaderHeight = lHeight;
    if (m_cHeader)
        m_cHeader->Height(lHeight);
    PositionHeader();
    m_bDirty = true;
    Draw();
    PropertyChanged(L"HeaderHeight");
}

void MoskGrid::HeaderDragReOrderColumns(bool bState) {
    m_bHeaderDragReOrderColumns = bState;
    if (m_cHeader)
        m_cHeader->DragReorder(bState);
    SetHeaders();
    PropertyChanged(L"HeaderDragReOrderColumns");
}

void MoskGrid::HeaderButtons(bool bState) {
    m_bHeaderButtons = bState;
    if (m_cHeader)
        m_cHeader->Buttons(bState);
    SetHeaders();
    PropertyChanged(L"HeaderButtons");
}

void MoskGrid::HeaderHotTrack(bool bState) {
    m_bHeaderHotTrack = bState;
    if (m_cHeader)
        m_cHeader->HotTrack(bState);
    SetHeaders();
    PropertyChanged(L"HeaderHotTrack");
}

// --- editing ---

void MoskGrid::RequestCellEdit(short iKeyAscii) {
    const GridCursor current = m_model.Current();
    if (!m_bEnabled || !m_bEditable || !current.Valid())
        return;
    // The owner's bCancel is the in-edit flag itself: what it leaves there decides.
    m_bInEdit = true;
    m_listener->RequestEdit(current.row, current.column, iKeyAscii, m_bInEdit);
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
