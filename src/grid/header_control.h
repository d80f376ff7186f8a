#pragma once
// cHeaderControl: the grid's column header, a real "SysHeader32" window laid over the top of the
// owner's client area. It keeps the items, reads the header's notifications at the owner window
// (WM_NOTIFY, subclassed) and raises them as events; lColumn is always the 0-based item index.

#include <windows.h>
// commctrl.h needs the types of windows.h before it.
#include <commctrl.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "grid/grid_font.h"
#include "winsvc/subclass.h"

namespace ferryl {

class cHeaderControlEvents {
  public:
    virtual ~cHeaderControlEvents() = default;
    virtual void ColumnWidthChanged(long& /*lColumn*/, long /*lWidth*/) {}
    virtual void ColumnWidthChanging(long& /*lColumn*/, long /*lWidth*/, bool& /*bCancel*/) {}
    virtual void StartColumnWidthChange(long& /*lColumn*/, long /*lWidth*/, bool& /*bCancel*/) {}
    virtual void DividerDblClick(long& /*lColumn*/) {}
    virtual void ColumnClick(long& /*lColumn*/) {}
    virtual void ColumnDblClick(long& /*lColumn*/) {}
    virtual void ColumnBeginDrag(long& /*lColumn*/) {}
    virtual void ColumnEndDrag(long& /*lColumn*/, long& /*lOrder*/) {}
    // Twips, relative to the header window.
    virtual void RightClick(float& /*x*/, float& /*y*/) {}
    virtual void RecreateControl() {}
    // The header lost the mouse during a divider drag (another window took it, it was let go with
    // no drop, or Escape): the drag ends there, and its later steps and drop are refused.
    virtual void CaptureLost() {}
};

class cHeaderControl : public ISubclass {
  public:
    explicit cHeaderControl(cHeaderControlEvents* events = nullptr) noexcept : m_events(events) {}
    ~cHeaderControl() override;
    cHeaderControl(const cHeaderControl&) = delete;
    cHeaderControl& operator=(const cHeaderControl&) = delete;

    void Init(HWND hwndOwner, bool bUserMode);
    void Destroy() noexcept;
    HWND hWnd() const noexcept { return m_hWnd; }

    bool Visible() const noexcept { return m_bVisible; }
    void Visible(bool bState);
    long Left() const noexcept { return m_rcPos.left; }
    void Left(long lLeft);
    long Top() const noexcept { return m_rcPos.top; }
    void Top(long lTop);
    long Width() const noexcept { return m_rcPos.right - m_rcPos.left; }
    void Width(long lWidth);
    long Height() const noexcept { return m_rcPos.bottom - m_rcPos.top; }
    void Height(long lHeight);
    // -1 for the width or height keeps the current one.
    void Move(long lLeft, long lTop, long lWidth = -1, long lHeight = -1);
    bool Enabled() const noexcept { return m_bEnabled; }
    void Enabled(bool bState);

    void ImageList(HIMAGELIST hIml);
    HIMAGELIST ImageList() const noexcept { return m_hIml; }
    bool Buttons() const noexcept { return m_bButtons; }
    void Buttons(bool bState);
    bool HotTrack() const noexcept { return m_bHotTrack; }
    void HotTrack(bool bState);
    bool DragReorder() const noexcept { return m_bDragReorder; }
    void DragReorder(bool bState);
    bool FullDrag() const noexcept { return m_bFullDrag; }
    void FullDrag(bool bState);

    long ColumnOrder(long lColumn) const;
    void ColumnOrder(long lColumn, long lOrder);
    long ColumnItemData(long lColumn) const;
    void ColumnItemData(long lColumn, long lItemData);
    long ColumnAlign(long lColumn) const;
    void ColumnAlign(long lColumn, long eAlign);
    long ColumnWidth(long lColumn) const;
    void ColumnWidth(long lColumn, long lWidth);
    long ColumnImage(long lColumn) const;
    void ColumnImage(long lColumn, long lImage);
    bool ColumnImageOnRight(long lColumn) const;
    void ColumnImageOnRight(long lColumn, bool bState);
    std::wstring ColumnHeader(long lColumn) const;
    void ColumnHeader(long lColumn, const std::wstring& sHeader);
    std::wstring ColumnTag(long lColumn) const;
    void ColumnTag(long lColumn, const std::wstring& sTag);
    long ColumnCount() const;
    // Returns the new item's index; a negative lBefore appends.
    long AddColumn(const std::wstring& sText,
                   long lWidth = -1,
                   long eAlign = HDF_LEFT,
                   long lItemData = 0,
                   long lImage = -1,
                   long lBefore = -1);
    void RemoveColumn(long lColumn);
    // The font at `dpi`, which is then also the DPI of the twips the events report; 0 measures
    // the font against the header's device context.
    void Font(const GridFont& oFont, int dpi = 0);
    // Ends a divider drag under way as a lost mouse ends it (CaptureLost); False when none was.
    bool CancelTrack();

    long MsgResponse() override { return m_lMsgResponse; }
    void MsgResponse(long lResponse) override { m_lMsgResponse = lResponse; }
    LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

  private:
    void Create();
    void AttachMessages();
    void DetachMessages() noexcept;
    void Place();
    void SetStyleBit(DWORD bit, bool bState);
    bool GetItem(long lColumn, HDITEMW& item) const;
    bool SetItem(long lColumn, HDITEMW& item);
    bool ValidImage(long lImage) const;
    LRESULT Notify(HWND hwnd, WPARAM wParam, LPARAM lParam);
    void CaptureChanged(HWND hwndNewCapture);
    void LoseTrack();

    // Posted to the header when the mouse was let go during a drag: by then the header has either
    // reported the drop that came with the release or lost the drag. wParam is the drag's number.
    static constexpr UINT kMsgCheckCapture = WM_APP + 0x4D49;
    // A divider drag, from an accepted HDN_BEGINTRACK. Lost lasts until the next drag begins: Wine's
    // header goes on tracking without the mouse and may report steps and a drop for it any time.
    enum class Track { None, Dragging, Lost };

    cHeaderControlEvents* m_events;
    HWND m_hWnd = nullptr;
    HWND m_hWndOwner = nullptr;
    bool m_bUserMode = false;
    RECT m_rcPos{};
    bool m_bPositionSet = false;
    bool m_bVisible = false;
    UniqueFont m_hFont;
    int m_lDpi = 0;  // 0: the screen's
    HIMAGELIST m_hIml = nullptr;
    std::vector<std::wstring> m_sItemTags;
    bool m_bSubclassed = false;
    bool m_bHotTrack = false;
    bool m_bDragReorder = false;
    bool m_bButtons = false;
    bool m_bFullDrag = false;
    bool m_bEnabled = true;
    bool m_bButtonsSuspended = false;
    long m_lTrackItem = -1;
    long m_lTrackWidth = 0;
    long m_lTrackOrder = 0;
    Track m_eTrack = Track::None;
    WPARAM m_lTrackSerial = 0;
    // HDM_SETITEM of ours is under way: its HDN_ITEMCHANGING is no step of a drag.
    bool m_bSettingItem = false;
    long m_lMsgResponse = ResponseConsume;
};

}  // namespace ferryl
