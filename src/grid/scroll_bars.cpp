#include "grid/scroll_bars.h"

#include <commctrl.h>

#include <algorithm>

#include "common/system_function.h"

namespace ferryl {
namespace {

// The flat scroll-bar functions came with common controls 4.72; they are looked up so that an older
// library (or a platform layer without them) leaves the ordinary functions in charge.
struct FlatScrollBarApi {
    using InitFn = BOOL(WINAPI*)(HWND);
    using UninitFn = HRESULT(WINAPI*)(HWND);
    using SetPropFn = BOOL(WINAPI*)(HWND, UINT, INT_PTR, BOOL);
    using ShowFn = BOOL(WINAPI*)(HWND, int, BOOL);
    using EnableFn = BOOL(WINAPI*)(HWND, int, UINT);
    using GetInfoFn = BOOL(WINAPI*)(HWND, int, LPSCROLLINFO);
    using SetInfoFn = int(WINAPI*)(HWND, int, LPSCROLLINFO, BOOL);
    InitFn init = nullptr;
    UninitFn uninit = nullptr;
    SetPropFn setProp = nullptr;
    ShowFn show = nullptr;
    EnableFn enable = nullptr;
    GetInfoFn getInfo = nullptr;
    SetInfoFn setInfo = nullptr;
    bool complete = false;
};

const FlatScrollBarApi& FlatApi() {
    static const FlatScrollBarApi api = [] {
        FlatScrollBarApi a;
        HMODULE module = ::GetModuleHandleW(L"comctl32.dll");
        // Never freed: the functions looked up below are kept for the process's life.
        if (!module)
            module = ::LoadLibraryW(L"comctl32.dll");
        if (!module)
            return a;
        a.init = ExportedFunction<FlatScrollBarApi::InitFn>(module, "InitializeFlatSB");
        a.uninit = ExportedFunction<FlatScrollBarApi::UninitFn>(module, "UninitializeFlatSB");
        a.setProp = ExportedFunction<FlatScrollBarApi::SetPropFn>(module, "FlatSB_SetScrollProp");
        a.show = ExportedFunction<FlatScrollBarApi::ShowFn>(module, "FlatSB_ShowScrollBar");
        a.enable = ExportedFunction<FlatScrollBarApi::EnableFn>(module, "FlatSB_EnableScrollBar");
        a.getInfo = ExportedFunction<FlatScrollBarApi::GetInfoFn>(module, "FlatSB_GetScrollInfo");
        a.setInfo = ExportedFunction<FlatScrollBarApi::SetInfoFn>(module, "FlatSB_SetScrollInfo");
        a.complete = a.init && a.uninit && a.setProp && a.show && a.enable && a.getInfo && a.setInfo;
        return a;
    }();
    return api;
}

long PageExtra(UINT nPage) {
    return nPage > 0 ? static_cast<long>(nPage) - 1 : 0;
}

}  // namespace

cScrollBars::~cScrollBars() {
    Destroy();
}

void cScrollBars::Create(HWND hwnd) {
    Destroy();
    m_hwnd = hwnd;
    // Re-parenting to the same parent and a frame change make the system notice the bars' styles.
    ::SetParent(hwnd, ::GetParent(hwnd));
    ::SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    const FlatScrollBarApi& api = FlatApi();
    m_bNoFlatScrollBars = !(api.complete && api.init(hwnd));
    if (!m_bNoFlatScrollBars)
        Style(m_eStyle);
    AttachMessage(this, hwnd, WM_HSCROLL);
    AttachMessage(this, hwnd, WM_VSCROLL);
    m_bSubclassed = true;
}

void cScrollBars::Destroy() noexcept {
    if (!m_hwnd)
        return;
    if (!m_bNoFlatScrollBars)
        FlatApi().uninit(m_hwnd);
    if (m_bSubclassed) {
        DetachMessage(this, m_hwnd, WM_HSCROLL);
        DetachMessage(this, m_hwnd, WM_VSCROLL);
        m_bSubclassed = false;
    }
    m_hwnd = nullptr;
}

void cScrollBars::Orientation(long eOrientation) {
    m_eOrientation = eOrientation;
    if (m_hwnd) {
        ::ShowScrollBar(m_hwnd, SB_HORZ, eOrientation == 0 || eOrientation == 2);
        ::ShowScrollBar(m_hwnd, SB_VERT, eOrientation == 1 || eOrientation == 2);
    }
}

void cScrollBars::Style(long eStyle) {
    if (m_bNoFlatScrollBars)
        return;
    // FSB_FLAT_MODE is 2 and FSB_ENCARTA_MODE 1: the style numbers are the modes themselves.
    if (m_hwnd && (m_eOrientation == 0 || m_eOrientation == 2))
        FlatApi().setProp(m_hwnd, WSB_PROP_HSTYLE, eStyle, TRUE);
    if (m_hwnd && (m_eOrientation == 1 || m_eOrientation == 2))
        FlatApi().setProp(m_hwnd, WSB_PROP_VSTYLE, eStyle, TRUE);
    m_eStyle = eStyle;
}

void cScrollBars::Visible(long eBar, bool bState) {
    m_bVisible[Index(eBar)] = bState;
    if (!m_hwnd)
        return;
    if (UseFlat())
        FlatApi().show(m_hwnd, static_cast<int>(eBar), bState);
    else
        ::ShowScrollBar(m_hwnd, static_cast<int>(eBar), bState);
}

void cScrollBars::Enabled(long eBar, bool bState) {
    m_bEnabled[Index(eBar)] = bState;
    if (!m_hwnd)
        return;
    UINT arrows = bState ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
    if (UseFlat())
        FlatApi().enable(m_hwnd, static_cast<int>(eBar), arrows);
    else
        ::EnableScrollBar(m_hwnd, static_cast<UINT>(eBar), arrows);
}

SCROLLINFO cScrollBars::Info(long eBar, UINT mask) const {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    if (!m_hwnd)
        return info;
    if (UseFlat())
        FlatApi().getInfo(m_hwnd, static_cast<int>(eBar), &info);
    else
        ::GetScrollInfo(m_hwnd, static_cast<int>(eBar), &info);
    return info;
}

void cScrollBars::SetInfo(long eBar, SCROLLINFO& info) {
    if (!m_hwnd)
        return;
    info.cbSize = sizeof(info);
    if (UseFlat())
        FlatApi().setInfo(m_hwnd, static_cast<int>(eBar), &info, TRUE);
    else
        ::SetScrollInfo(m_hwnd, static_cast<int>(eBar), &info, TRUE);
}

long cScrollBars::Min(long eBar) const {
    return Info(eBar, SIF_RANGE).nMin;
}

void cScrollBars::Min(long eBar, long lMin) {
    SCROLLINFO info = Info(eBar, SIF_RANGE | SIF_PAGE);
    long max = info.nMax - PageExtra(info.nPage);
    info.fMask = SIF_RANGE;
    info.nMin = static_cast<int>(lMin);
    info.nMax = static_cast<int>(max + PageExtra(info.nPage));
    SetInfo(eBar, info);
}

long cScrollBars::Max(long eBar) const {
    SCROLLINFO info = Info(eBar, SIF_RANGE | SIF_PAGE);
    return info.nMax - PageExtra(info.nPage);
}

void cScrollBars::Max(long eBar, long lMax) {
    SCROLLINFO info = Info(eBar, SIF_RANGE | SIF_PAGE);
    info.fMask = SIF_RANGE;
    info.nMax = static_cast<int>(lMax + PageExtra(info.nPage));
    SetInfo(eBar, info);
}

long cScrollBars::LargeChange(long eBar) const {
    return static_cast<long>(Info(eBar, SIF_PAGE).nPage);
}

void cScrollBars::LargeChange(long eBar, long lLargeChange) {
    SCROLLINFO info = Info(eBar, SIF_RANGE | SIF_PAGE);
    long max = info.nMax - PageExtra(info.nPage);
    UINT page = lLargeChange > 0 ? static_cast<UINT>(lLargeChange) : 0;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nPage = page;
    info.nMax = static_cast<int>(max + PageExtra(page));
    SetInfo(eBar, info);
}

long cScrollBars::Value(long eBar) const {
    return Info(eBar, SIF_POS).nPos;
}

void cScrollBars::Value(long eBar, long lValue) {
    if (lValue == Value(eBar))
        return;
    SCROLLINFO info{};
    info.fMask = SIF_POS;
    info.nPos = static_cast<int>(lValue);
    SetInfo(eBar, info);
    ReportChange(eBar, false);
}

void cScrollBars::ReportChange(long eBar, bool bFromThumb) {
    long value = Value(eBar);
    int i = Index(eBar);
    if (value == m_lLastValue[i])
        return;
    // Stored first: a handler that scrolls again must not see this change as unreported.
    m_lLastValue[i] = value;
    long bar = eBar;
    if (m_events) {
        if (bFromThumb)
            m_events->Scroll(bar);
        else
            m_events->Change(bar);
    }
}

LRESULT cScrollBars::WindowProc(HWND /*hwnd*/, UINT iMsg, WPARAM wParam, LPARAM /*lParam*/) {
    long bar = iMsg == WM_VSCROLL ? kVertical : kHorizontal;
    bool fromThumb = false;
    switch (LOWORD(wParam)) {
        case SB_LINEUP:
            Value(bar, std::max(Value(bar) - SmallChange(bar), Min(bar)));
            break;
        case SB_LINEDOWN:
            Value(bar, std::min(Value(bar) + SmallChange(bar), Max(bar)));
            break;
        case SB_PAGEUP:
            Value(bar, Value(bar) - LargeChange(bar));
            break;
        case SB_PAGEDOWN:
            Value(bar, Value(bar) + LargeChange(bar));
            break;
        case SB_THUMBTRACK:
            // The 32-bit tracking position: HIWORD(wParam) would wrap past 65535 pixels.
            Value(bar, Info(bar, SIF_TRACKPOS).nTrackPos);
            fromThumb = true;
            break;
        case SB_TOP:
            Value(bar, Min(bar));
            break;
        case SB_BOTTOM:
            Value(bar, Max(bar));
            break;
        case SB_ENDSCROLL:
            break;
        default:
            return 0;
    }
    ReportChange(bar, fromThumb);
    return 0;
}

}  // namespace ferryl
