#pragma once
// Active Accessibility for MoskGrid. The grid's client area is a list (ROLE_SYSTEM_LIST) whose
// children are its rows (ROLE_SYSTEM_LISTITEM), one per row whether shown or hidden, with child ids
// equal to the row numbers. Screen readers get the object through WM_GETOBJECT and hear of changes
// through the WinEvents the grid raises.

#include <oleacc.h>
#include <windows.h>

namespace ferryl {

class MoskGrid;
class GridAccessible;

// IID_IAccessible, spelled out: MinGW's oleacc import library exports it as a code thunk, not data.
inline constexpr IID kIID_IAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// What the grid keeps for Active Accessibility: the object it hands out, and what it last told
// the WinEvent listeners.
class GridAccessibility {
  public:
    explicit GridAccessibility(MoskGrid& grid) noexcept : m_grid(grid) {}
    ~GridAccessibility();
    GridAccessibility(const GridAccessibility&) = delete;
    GridAccessibility& operator=(const GridAccessibility&) = delete;

    // WM_GETOBJECT: the grid's object for OBJID_CLIENT, through LresultFromObject; 0 for any other
    // object id, which leaves that one to the system.
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam) noexcept;

    // Rows were added, removed or put in another order: one EVENT_OBJECT_REORDER follows at the
    // next Announce, however many rows a batch changed.
    void RowsChanged() noexcept { m_rowsChanged = true; }

    // Raises what changed since the last call: the reorder, and EVENT_OBJECT_FOCUS and
    // EVENT_OBJECT_SELECTION for a current row that moved (focus only while the grid has the
    // keyboard focus). Called at the end of each Draw, so that changes made while painting is held
    // are told once, when it resumes.
    void Announce() noexcept;

    // accSelect on a row (SELFLAG_ values), as the user's own keys and clicks would do it.
    void Select(long lRow, LONG flags);
    // Whether any cell of the row is selected.
    bool RowSelected(long lRow) const;

    // Posted by the object's accDoDefaultAction: a double click on the row, once the caller (maybe
    // in another process) is no longer waiting.
    void DoDefaultAction(long lRow) noexcept;

    // The window is going: the object lets go of the grid and answers CO_E_OBJNOTCONNECTED from now
    // on, and its callers in other processes are cut off.
    void Disconnect() noexcept;

  private:
    MoskGrid& m_grid;
    GridAccessible* m_object = nullptr;  // holds one reference while connected
    bool m_rowsChanged = false;
    long m_announcedRow = 0;
    bool m_announcedFocus = false;
};

}  // namespace ferryl
