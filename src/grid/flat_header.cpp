#include "grid/flat_header.h"

#include <commctrl.h>

#include <string>

#include "common/error.h"
#include "common/unique_handle.h"

namespace ferryl {
namespace {

bool IsHeaderClass(HWND hwnd) {
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    return ::lstrcmpiW(name, WC_HEADERW) == 0;
}

}  // namespace

cFlatHeader::~cFlatHeader() {
    Detach();
}

void cFlatHeader::Attach(HWND hwnd) {
    Detach();
    HWND header = nullptr;
    if (hwnd && ::IsWindow(hwnd))
        header = IsHeaderClass(hwnd) ? hwnd : ::FindWindowExW(hwnd, nullptr, WC_HEADERW, nullptr);
    if (!header || !::IsWindow(header))
        throw Error(kErrNoHeaderControl, ErrorSource(L"cFlatHeader"),
                    L"Invalid Window Passed to cFlatHeader - no header control detected.");
    AttachMessage(this, header, WM_PAINT);
    m_hWnd = header;
    ::InvalidateRect(header, nullptr, TRUE);
}

void cFlatHeader::Detach() noexcept {
    if (!m_hWnd)
        return;
    DetachMessage(this, m_hWnd, WM_PAINT);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    m_hWnd = nullptr;
}

LRESULT cFlatHeader::WindowProc(HWND hwnd, UINT /*iMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    ::OffsetRect(&rc, -rc.left, -rc.top);
    WindowDC dc(hwnd);
    if (!dc)
        return 0;
    UniquePen highlight(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT)));
    UniquePen face(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE)));
    UniquePen shadow(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
    SelectGuard keep(dc.get(), face.get());
    COLORREF shadowColor = ::GetSysColor(COLOR_BTNSHADOW);
    int count = static_cast<int>(::SendMessageW(hwnd, HDM_GETITEMCOUNT, 0, 0));
    int x = 0;
    for (int order = 0; order < count; ++order) {
        int index = static_cast<int>(::SendMessageW(hwnd, HDM_ORDERTOINDEX, static_cast<WPARAM>(order), 0));
        HDITEMW item{};
        item.mask = HDI_WIDTH;
        ::SendMessageW(hwnd, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        int left = x + 1;
        x += item.cxy;
        ::SelectObject(dc.get(), face.get());
        ::MoveToEx(dc.get(), left, rc.bottom - 2, nullptr);
        ::LineTo(dc.get(), x - 2, rc.bottom - 2);
        ::LineTo(dc.get(), x - 2, rc.top);
        // A pressed item shows the shadow at its top-left corner: its edge is lit instead.
        bool pressed = ::GetPixel(dc.get(), left, rc.top) == shadowColor;
        ::SelectObject(dc.get(), pressed ? highlight.get() : shadow.get());
        ::MoveToEx(dc.get(), left - 1, rc.bottom - 1, nullptr);
        ::LineTo(dc.get(), x - 1, rc.bottom - 1);
        ::LineTo(dc.get(), x - 1, rc.top - 1);
    }
    if (x < rc.right) {
        ::SelectObject(dc.get(), face.get());
        ::MoveToEx(dc.get(), x + 1, rc.bottom - 2, nullptr);
        ::LineTo(dc.get(), rc.right, rc.bottom - 2);
    }
    return 0;
}

}  // namespace ferryl
