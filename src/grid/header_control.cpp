#include "grid/header_control.h"

#include "common/twips.h"
#include "grid/api_and_callbacks.h"

#include <algorithm>
#include <utility>

namespace ferryl {

cHeaderControl::~cHeaderControl() {
    Destroy();
}

void cHeaderControl::Init(HWND hwndOwner, bool bUserMode) {
    m_hWndOwner = hwndOwner;
    m_bUserMode = bUserMode;
    Create();
}

void cHeaderControl::Create() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (m_bHotTrack)
        style |= HDS_HOTTRACK;
    if (m_bDragReorder)
        style |= HDS_DRAGDROP;
    if (m_bButtons)
        style |= HDS_BUTTONS;
    if (m_bFullDrag)
        style |= HDS_FULLDRAG;
    if (!m_bPositionSet) {
        ::GetClientRect(m_hWndOwner, &m_rcPos);
        m_rcPos.bottom = m_rcPos.top + 20;
        m_bPositionSet = true;
    }
    m_hWnd =
        ::CreateWindowExW(0, WC_HEADERW, L"", style, m_rcPos.left, m_rcPos.top, m_rcPos.right - m_rcPos.left,
                          m_rcPos.bottom - m_rcPos.top, m_hWndOwner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!m_hWnd)
        return;
    m_bVisible = true;
    AttachMessages();
    if (m_hIml)
        ::SendMessageW(m_hWnd, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_hIml));
    if (m_hFont)
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont.get()), TRUE);
}

void cHeaderControl::AttachMessages() {
    if (!m_bUserMode || !m_hWnd || m_bSubclassed)
        return;
    AttachMessage(this, m_hWnd, HDM_LAYOUT);
    AttachMessage(this, m_hWnd, WM_CAPTURECHANGED);
    AttachMessage(this, m_hWnd, kMsgCheckCapture);
    AttachMessage(this, m_hWndOwner, WM_NOTIFY);
    m_bSubclassed = true;
}

void cHeaderControl::DetachMessages() noexcept {
    if (!m_bSubclassed)
        return;
    DetachMessage(this, m_hWnd, HDM_LAYOUT);
    DetachMessage(this, m_hWnd, WM_CAPTURECHANGED);
    DetachMessage(this, m_hWnd, kMsgCheckCapture);
    DetachMessage(this, m_hWndOwner, WM_NOTIFY);
    m_bSubclassed = false;
}

void cHeaderControl::Destroy() noexcept {
    if (!m_hWnd)
        return;
    DetachMessages();
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::SetParent(m_hWnd, nullptr);
    ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    m_eTrack = Track::None;
    m_hFont.reset();
}

void cHeaderControl::Place() {
    if (m_hWnd)
        ::MoveWindow(m_hWnd, m_rcPos.left, m_rcPos.top, m_rcPos.right - m_rcPos.left, m_rcPos.bottom - m_rcPos.top,
                     TRUE);
}

void cHeaderControl::Visible(bool bState) {
    m_bVisible = bState;
    if (m_hWnd)
        ::ShowWindow(m_hWnd, bState ? SW_SHOW : SW_HIDE);
}

void cHeaderControl::Left(long lLeft) {
    Move(lLeft, m_rcPos.top);
}

void cHeaderControl::Top(long lTop) {
    Move(m_rcPos.left, lTop);
}

void cHeaderControl::Width(long lWidth) {
    Move(m_rcPos.left, m_rcPos.top, lWidth);
}

void cHeaderControl::Height(long lHeight) {
    Move(m_rcPos.left, m_rcPos.top, -1, lHeight);
}

void cHeaderControl::Move(long lLeft, long lTop, long lWidth, long lHeight) {
    if (lWidth < 0)
        lWidth = Width();
    if (lHeight < 0)
        lHeight = Height();
    m_rcPos = {lLeft, lTop, lLeft + lWidth, lTop + lHeight};
    m_bPositionSet = true;
    Place();
}

void cHeaderControl::Enabled(bool bState) {
    if (bState == m_bEnabled)
        return;
    m_bEnabled = bState;
    if (!bState && m_bButtons) {
        // Buttons keeps reading True: only the window loses the style while it is disabled.
        m_bButtons = false;
        SetStyleBit(HDS_BUTTONS, false);
        m_bButtons = true;
        m_bButtonsSuspended = true;
    } else if (bState && m_bButtonsSuspended) {
        m_bButtonsSuspended = false;
        if (m_bButtons)
            SetStyleBit(HDS_BUTTONS, true);
    }
    if (m_hWnd)
        ::EnableWindow(m_hWnd, bState ? TRUE : FALSE);
}

void cHeaderControl::ImageList(HIMAGELIST hIml) {
    m_hIml = hIml;
    if (m_hWnd)
        ::SendMessageW(m_hWnd, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hIml));
}

void cHeaderControl::SetStyleBit(DWORD bit, bool bState) {
    if (!m_hWnd)
        return;
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    style = bState ? (style | static_cast<LONG_PTR>(bit)) : (style & ~static_cast<LONG_PTR>(bit));
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void cHeaderControl::Buttons(bool bState) {
    if (bState == m_bButtons)
        return;
    m_bButtons = bState;
    SetStyleBit(HDS_BUTTONS, bState);
}

void cHeaderControl::HotTrack(bool bState) {
    if (bState == m_bHotTrack)
        return;
    m_bHotTrack = bState;
    SetStyleBit(HDS_HOTTRACK, bState);
}

void cHeaderControl::DragReorder(bool bState) {
    if (bState == m_bDragReorder)
        return;
    m_bDragReorder = bState;
    SetStyleBit(HDS_DRAGDROP, bState);
}

void cHeaderControl::FullDrag(bool bState) {
    if (bState == m_bFullDrag)
        return;
    m_bFullDrag = bState;
    if (!m_hWnd)
        return;
    // The header reads HDS_FULLDRAG only when it is created.
    Destroy();
    Create();
    if (m_events)
        m_events->RecreateControl();
}

bool cHeaderControl::GetItem(long lColumn, HDITEMW& item) const {
    return m_hWnd &&
           ::SendMessageW(m_hWnd, HDM_GETITEMW, static_cast<WPARAM>(lColumn), reinterpret_cast<LPARAM>(&item)) != 0;
}

bool cHeaderControl::SetItem(long lColumn, HDITEMW& item) {
    if (!m_hWnd)
        return false;
    // The header asks its owner first (HDN_ITEMCHANGING); this change is ours, not a drag's.
    const bool outer = std::exchange(m_bSettingItem, true);
    const bool set =
        ::SendMessageW(m_hWnd, HDM_SETITEMW, static_cast<WPARAM>(lColumn), reinterpret_cast<LPARAM>(&item)) != 0;
    m_bSettingItem = outer;
    return set;
}

long cHeaderControl::ColumnOrder(long lColumn) const {
    if (lColumn == m_lTrackItem)
        return m_lTrackOrder;
    HDITEMW item{};
    item.mask = HDI_ORDER;
    return GetItem(lColumn, item) ? item.iOrder : 0;
}

void cHeaderControl::ColumnOrder(long lColumn, long lOrder) {
    HDITEMW item{};
    item.mask = HDI_ORDER;
    item.iOrder = static_cast<int>(lOrder);
    SetItem(lColumn, item);
}

long cHeaderControl::ColumnItemData(long lColumn) const {
    HDITEMW item{};
    item.mask = HDI_LPARAM;
    return GetItem(lColumn, item) ? static_cast<long>(item.lParam) : 0;
}

void cHeaderControl::ColumnItemData(long lColumn, long lItemData) {
    HDITEMW item{};
    item.mask = HDI_LPARAM;
    item.lParam = lItemData;
    SetItem(lColumn, item);
}

long cHeaderControl::ColumnAlign(long lColumn) const {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    return GetItem(lColumn, item) ? (item.fmt & HDF_JUSTIFYMASK) : 0;
}

void cHeaderControl::ColumnAlign(long lColumn, long eAlign) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!GetItem(lColumn, item))
        return;
    item.fmt = (item.fmt & ~HDF_JUSTIFYMASK) | (static_cast<int>(eAlign) & HDF_JUSTIFYMASK);
    SetItem(lColumn, item);
}

long cHeaderControl::ColumnWidth(long lColumn) const {
    if (lColumn == m_lTrackItem)
        return m_lTrackWidth;
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    return GetItem(lColumn, item) ? item.cxy : 0;
}

void cHeaderControl::ColumnWidth(long lColumn, long lWidth) {
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    if (!GetItem(lColumn, item) || item.cxy == lWidth)
        return;
    item.cxy = static_cast<int>(lWidth);
    if (SetItem(lColumn, item) && m_events)
        m_events->ColumnWidthChanged(lColumn, lWidth);
}

bool cHeaderControl::ValidImage(long lImage) const {
    return m_hIml && lImage >= 0 && lImage < ::ImageList_GetImageCount(m_hIml);
}

long cHeaderControl::ColumnImage(long lColumn) const {
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    if (!GetItem(lColumn, item) || !(item.fmt & HDF_IMAGE))
        return -1;
    return item.iImage;
}

void cHeaderControl::ColumnImage(long lColumn, long lImage) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!GetItem(lColumn, item))
        return;
    if (ValidImage(lImage)) {
        item.mask |= HDI_IMAGE;
        item.fmt |= HDF_IMAGE;
        item.iImage = static_cast<int>(lImage);
    } else {
        item.fmt &= ~HDF_IMAGE;
    }
    SetItem(lColumn, item);
}

bool cHeaderControl::ColumnImageOnRight(long lColumn) const {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    return GetItem(lColumn, item) && (item.fmt & HDF_BITMAP_ON_RIGHT) != 0;
}

void cHeaderControl::ColumnImageOnRight(long lColumn, bool bState) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!GetItem(lColumn, item))
        return;
    item.fmt = bState ? (item.fmt | HDF_BITMAP_ON_RIGHT) : (item.fmt & ~HDF_BITMAP_ON_RIGHT);
    SetItem(lColumn, item);
}

std::wstring cHeaderControl::ColumnHeader(long lColumn) const {
    wchar_t buffer[256] = {};
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 255;
    if (!GetItem(lColumn, item) || !(item.fmt & HDF_STRING))
        return {};
    return std::wstring(buffer);
}

void cHeaderControl::ColumnHeader(long lColumn, const std::wstring& sHeader) {
    if (sHeader == ColumnHeader(lColumn))
        return;
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!GetItem(lColumn, item))
        return;
    std::wstring text = sHeader;
    if (text.empty()) {
        item.fmt &= ~HDF_STRING;
    } else {
        item.fmt |= HDF_STRING;
        item.mask |= HDI_TEXT;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
    }
    SetItem(lColumn, item);
}

std::wstring cHeaderControl::ColumnTag(long lColumn) const {
    if (lColumn < 0 || static_cast<size_t>(lColumn) >= m_sItemTags.size())
        return {};
    return m_sItemTags[static_cast<size_t>(lColumn)];
}

void cHeaderControl::ColumnTag(long lColumn, const std::wstring& sTag) {
    if (lColumn < 0 || lColumn >= ColumnCount())
        return;
    if (m_sItemTags.size() <= static_cast<size_t>(lColumn))
        m_sItemTags.resize(static_cast<size_t>(lColumn) + 1);
    m_sItemTags[static_cast<size_t>(lColumn)] = sTag;
}

long cHeaderControl::ColumnCount() const {
    return m_hWnd ? static_cast<long>(::SendMessageW(m_hWnd, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

long cHeaderControl::AddColumn(const std::wstring& sText,
                               long lWidth,
                               long eAlign,
                               long lItemData,
                               long lImage,
                               long lBefore) {
    if (!m_hWnd)
        return -1;
    std::wstring text = sText;
    HDITEMW item{};
    item.mask = HDI_WIDTH | HDI_FORMAT | HDI_LPARAM;
    item.cxy = static_cast<int>(lWidth < 0 ? 64 : lWidth);
    item.fmt = static_cast<int>(eAlign) & HDF_JUSTIFYMASK;
    item.lParam = lItemData;
    if (!text.empty()) {
        item.mask |= HDI_TEXT;
        item.fmt |= HDF_STRING;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
    }
    if (ValidImage(lImage)) {
        item.mask |= HDI_IMAGE;
        item.fmt |= HDF_IMAGE;
        item.iImage = static_cast<int>(lImage);
    }
    WPARAM at = lBefore < 0 ? static_cast<WPARAM>(ColumnCount()) : static_cast<WPARAM>(lBefore);
    long index = static_cast<long>(::SendMessageW(m_hWnd, HDM_INSERTITEMW, at, reinterpret_cast<LPARAM>(&item)));
    if (index >= 0) {
        m_sItemTags.insert(m_sItemTags.begin() + std::min<long>(index, static_cast<long>(m_sItemTags.size())),
                           std::wstring());
        m_sItemTags.resize(static_cast<size_t>(ColumnCount()));
    }
    return index;
}

void cHeaderControl::RemoveColumn(long lColumn) {
    if (!m_hWnd || !::SendMessageW(m_hWnd, HDM_DELETEITEM, static_cast<WPARAM>(lColumn), 0))
        return;
    if (static_cast<size_t>(lColumn) < m_sItemTags.size())
        m_sItemTags.erase(m_sItemTags.begin() + lColumn);
    m_sItemTags.resize(static_cast<size_t>(ColumnCount()));
}

void cHeaderControl::Font(const GridFont& oFont, int dpi) {
    LOGFONTW lf{};
    if (dpi > 0) {
        m_lDpi = dpi;
        lf = oFont.ToLogFont(dpi);
    } else {
        WindowDC dc(m_hWnd ? m_hWnd : m_hWndOwner);
        FontToLogFont(oFont, dc.get(), lf);
    }
    UniqueFont font(::CreateFontIndirectW(&lf));
    if (m_hWnd)
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    // The previous font goes only now that the header no longer draws with it.
    m_hFont = std::move(font);
}

LRESULT cHeaderControl::WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    if (iMsg == HDM_LAYOUT) {
        // Answered from the place the grid gave the header: the header sits at its stored
        // rectangle and the rest of the given area lies below it.
        auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
        if (!layout || !layout->prc || !layout->pwpos)
            return FALSE;
        WINDOWPOS& pos = *layout->pwpos;
        pos.hwnd = m_hWnd;
        pos.hwndInsertAfter = nullptr;
        pos.x = m_rcPos.left;
        pos.y = m_rcPos.top;
        pos.cx = m_rcPos.right - m_rcPos.left;
        pos.cy = m_rcPos.bottom - m_rcPos.top;
        pos.flags = SWP_NOZORDER | SWP_NOACTIVATE;
        layout->prc->top = std::min(layout->prc->bottom, layout->prc->top + pos.cy);
        return TRUE;
    }
    if (iMsg == WM_NOTIFY)
        return Notify(hwnd, wParam, lParam);
    if (iMsg == WM_CAPTURECHANGED) {
        // The header ends its own tracking first (Wine's keeps tracking: what it reports later for
        // the drag is refused).
        LRESULT result = CallOldWindowProc(hwnd, iMsg, wParam, lParam);
        CaptureChanged(reinterpret_cast<HWND>(lParam));
        return result;
    }
    if (iMsg == kMsgCheckCapture) {
        // The release came with no drop: the drag lost the mouse.
        if (m_eTrack == Track::Dragging && wParam == m_lTrackSerial && ::GetCapture() != m_hWnd)
            LoseTrack();
        return 0;
    }
    return 0;
}

void cHeaderControl::CaptureChanged(HWND hwndNewCapture) {
    if (m_eTrack != Track::Dragging || hwndNewCapture == m_hWnd)
        return;
    if (hwndNewCapture) {
        LoseTrack();  // another window took the mouse
        return;
    }
    // The mouse was let go: by the header itself at the drop (comctl32 may let go before it reports
    // the drop) or by someone else (a disabled owner, WM_CANCELMODE). Which it was shows only once
    // this release has been handled.
    ::PostMessageW(m_hWnd, kMsgCheckCapture, m_lTrackSerial, 0);
}

void cHeaderControl::LoseTrack() {
    m_eTrack = Track::Lost;
    if (m_events)
        m_events->CaptureLost();
}

bool cHeaderControl::CancelTrack() {
    if (m_eTrack != Track::Dragging)
        return false;
    LoseTrack();
    // Lost already: the WM_CAPTURECHANGED this brings changes nothing.
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    return true;
}

LRESULT cHeaderControl::Notify(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    // WM_NOTIFY is taken whole from the owner: a notice from another child still gets the owner's
    // own answer.
    if (!hdr || hdr->hwndFrom != m_hWnd)
        return CallOldWindowProc(hwnd, WM_NOTIFY, wParam, lParam);
    auto* nm = reinterpret_cast<NMHEADERW*>(lParam);
    long column = nm->iItem;
    auto widthOf = [&](long item) {
        if (nm->pitem && (nm->pitem->mask & HDI_WIDTH))
            return static_cast<long>(nm->pitem->cxy);
        return ColumnWidth(item);
    };
    bool cancel = false;
    switch (hdr->code) {
        case HDN_BEGINTRACKW:
        case HDN_BEGINTRACKA:
            if (m_events)
                m_events->StartColumnWidthChange(column, widthOf(nm->iItem), cancel);
            if (!cancel) {
                m_eTrack = Track::Dragging;
                ++m_lTrackSerial;
            }
            return cancel ? 1 : 0;
        case HDN_TRACKW:
        case HDN_TRACKA:
            if (m_eTrack == Track::Lost)
                return 1;
            if (m_events)
                m_events->ColumnWidthChanging(column, widthOf(nm->iItem), cancel);
            return cancel ? 1 : 0;
        case HDN_ENDTRACKW:
        case HDN_ENDTRACKA: {
            CallOldWindowProc(hwnd, WM_NOTIFY, wParam, lParam);
            if (m_eTrack == Track::Lost)
                return 1;
            m_eTrack = Track::None;
            long width = widthOf(nm->iItem);
            m_lTrackItem = nm->iItem;
            m_lTrackWidth = width;
            if (m_events)
                m_events->ColumnWidthChanged(column, width);
            m_lTrackItem = -1;
            return 0;
        }
        case HDN_ITEMCHANGINGW:
        case HDN_ITEMCHANGINGA:
            // Wine's header gives the item the drop's width through this notice after HDN_ENDTRACK.
            if (m_eTrack == Track::Lost && !m_bSettingItem && nm->pitem && (nm->pitem->mask & HDI_WIDTH))
                return 1;
            return CallOldWindowProc(hwnd, WM_NOTIFY, wParam, lParam);
        case HDN_DIVIDERDBLCLICKW:
        case HDN_DIVIDERDBLCLICKA:
            if (m_events)
                m_events->DividerDblClick(column);
            return 0;
        case HDN_ITEMCLICKW:
        case HDN_ITEMCLICKA:
            if (m_events)
                m_events->ColumnClick(column);
            return 0;
        case HDN_ITEMDBLCLICKW:
        case HDN_ITEMDBLCLICKA:
            if (m_events)
                m_events->ColumnDblClick(column);
            return 0;
        case HDN_BEGINDRAG:
            if (m_events)
                m_events->ColumnBeginDrag(column);
            return 0;
        case HDN_ENDDRAG: {
            CallOldWindowProc(hwnd, WM_NOTIFY, wParam, lParam);
            // The new place comes with the notice; the header applies it only after we return.
            long order = (nm->pitem && (nm->pitem->mask & HDI_ORDER)) ? nm->pitem->iOrder : ColumnOrder(nm->iItem);
            if (order >= 0) {
                m_lTrackItem = nm->iItem;
                m_lTrackOrder = order;
                if (m_events)
                    m_events->ColumnEndDrag(column, order);
                m_lTrackItem = -1;
            }
            return 0;
        }
        case NM_RCLICK: {
            POINT pt{};
            ::GetCursorPos(&pt);
            ::ScreenToClient(m_hWnd, &pt);
            const int twipsPerPixel = m_lDpi > 0 ? TwipsPerPixel(m_lDpi) : TwipsPerPixelX();
            float x = static_cast<float>(pt.x * twipsPerPixel);
            float y = static_cast<float>(pt.y * twipsPerPixel);
            if (m_events)
                m_events->RightClick(x, y);
            return 0;
        }
        default:
            return CallOldWindowProc(hwnd, WM_NOTIFY, wParam, lParam);
    }
}

}  // namespace ferryl
