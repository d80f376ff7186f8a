#pragma once
// cScrollBars: the two standard scroll bars of one window, through the flat scroll-bar functions of
// the common controls when they are there, with Min/Max/Value/SmallChange/LargeChange per bar.
// WM_HSCROLL and WM_VSCROLL of the window are subclassed and turned into value changes.

#include <windows.h>

#include "winsvc/subclass.h"

namespace ferryl {

class cScrollBarsEvents {
  public:
    virtual ~cScrollBarsEvents() = default;
    // The thumb is being dragged to a value Value let did not report.
    virtual void Scroll(long& /*eBar*/) {}
    virtual void Change(long& /*eBar*/) {}
};

class cScrollBars : public ISubclass {
  public:
    static constexpr long kHorizontal = SB_HORZ;
    static constexpr long kVertical = SB_VERT;

    explicit cScrollBars(cScrollBarsEvents* events = nullptr) noexcept : m_events(events) {}
    ~cScrollBars() override;
    cScrollBars(const cScrollBars&) = delete;
    cScrollBars& operator=(const cScrollBars&) = delete;

    void Create(HWND hwnd);
    void Destroy() noexcept;

    long Orientation() const noexcept { return m_eOrientation; }
    void Orientation(long eOrientation);
    long Style() const noexcept { return m_eStyle; }
    void Style(long eStyle);
    bool CanBeFlat() const noexcept { return !m_bNoFlatScrollBars; }

    bool Visible(long eBar) const noexcept { return m_bVisible[Index(eBar)]; }
    void Visible(long eBar, bool bState);
    bool Enabled(long eBar) const noexcept { return m_bEnabled[Index(eBar)]; }
    void Enabled(long eBar, bool bState);
    long SmallChange(long eBar) const noexcept { return m_lSmallChange[Index(eBar)]; }
    void SmallChange(long eBar, long lSmallChange) noexcept { m_lSmallChange[Index(eBar)] = lSmallChange; }
    long Min(long eBar) const;
    void Min(long eBar, long lMin);
    // The system's range ends at nMax inclusive and its highest position is nMax - nPage + 1, so
    // nMax is kept at Max + LargeChange - 1: the thumb then stops exactly at Max.
    long Max(long eBar) const;
    void Max(long eBar, long lMax);
    long LargeChange(long eBar) const;
    void LargeChange(long eBar, long lLargeChange);
    long Value(long eBar) const;
    void Value(long eBar, long lValue);

    long MsgResponse() override { return ResponseCallAfter; }
    void MsgResponse(long) override {}
    LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

  private:
    static int Index(long eBar) noexcept { return eBar == kVertical ? 1 : 0; }
    bool UseFlat() const noexcept { return !m_bNoFlatScrollBars && m_hwnd; }
    SCROLLINFO Info(long eBar, UINT mask) const;
    void SetInfo(long eBar, SCROLLINFO& info);
    void ReportChange(long eBar, bool bFromThumb);

    cScrollBarsEvents* m_events;
    bool m_bSubclassed = false;
    long m_eOrientation = 2;
    long m_eStyle = 0;
    bool m_bNoFlatScrollBars = true;
    HWND m_hwnd = nullptr;
    long m_lSmallChange[2] = {1, 1};
    bool m_bEnabled[2] = {true, true};
    bool m_bVisible[2] = {false, false};
    long m_lLastValue[2] = {0, 0};
};

}  // namespace ferryl
