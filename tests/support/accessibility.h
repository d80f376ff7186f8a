#pragma once
// Reading windows as a screen reader does: a window's Active Accessibility object, its properties
// as plain values, and the WinEvents raised.

#include <oleacc.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace ferryl::test {

struct ComRelease {
    void operator()(IUnknown* object) const noexcept { object->Release(); }
};

// One counted reference to an IAccessible (nothing when it could not be had).
class AccessibleRef : public std::unique_ptr<IAccessible, ComRelease> {
  public:
    using unique_ptr::unique_ptr;
    void Reset() noexcept { reset(); }
};

// The object of the window's client area, through AccessibleObjectFromWindow (across processes
// when the window is another program's).
AccessibleRef ClientAccessible(HWND window);

VARIANT Child(long child);
// A child's property (CHILDID_SELF: the object's); empty text, or -1, when there is none.
std::wstring Name(IAccessible* object, long child);
std::wstring Description(IAccessible* object, long child);
std::wstring DefaultAction(IAccessible* object, long child);
long Role(IAccessible* object, long child);
long State(IAccessible* object, long child);
// The child ids of what is selected (one VT_I4, or several through an enumerator).
std::vector<long> Selection(IAccessible* object);
// The child id of a VT_I4 result, -1 for anything else.
long ChildId(const VARIANT& result);

// A file list's row as a screen reader says it: name, date with the month's name (1 to 12) and the
// whole year (never "05/03/24"), size in bytes, folder.
void ExpectSpokenRow(const std::wstring& spoken,
                     const std::wstring& path,
                     int month,
                     const std::wstring& year,
                     const std::wstring& size);

// Records the WinEvents in a range raised by one process (0: any), delivered while this thread pumps.
class WinEventRecorder {
  public:
    WinEventRecorder(DWORD first, DWORD last, DWORD processId = 0);
    ~WinEventRecorder();
    WinEventRecorder(const WinEventRecorder&) = delete;
    WinEventRecorder& operator=(const WinEventRecorder&) = delete;

    bool Hooked() const noexcept { return m_hook != nullptr; }
    // How many such events came so far for the window and child, pumping first.
    size_t Count(DWORD event, HWND window, LONG child);

  private:
    struct WinEvent {
        DWORD event;
        HWND window;
        LONG child;
    };
    static void CALLBACK
    Callback(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread, DWORD time);
    HWINEVENTHOOK m_hook = nullptr;
    std::vector<WinEvent> m_events;
};

}  // namespace ferryl::test
