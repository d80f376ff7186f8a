#pragma once
// Helpers for tests that read windows as a screen reader does: the Active Accessibility object of a
// window, its properties as plain values, and a recorder of the WinEvents raised.

#include <oleacc.h>
#include <windows.h>

#include <string>
#include <vector>

namespace ferryl::test {

// One counted reference to an IAccessible (nothing when it could not be had).
class AccessibleRef {
  public:
    AccessibleRef() = default;
    explicit AccessibleRef(IAccessible* object) noexcept : m_object(object) {}
    ~AccessibleRef() { Reset(); }
    AccessibleRef(AccessibleRef&& other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
    AccessibleRef& operator=(AccessibleRef&& other) noexcept;
    AccessibleRef(const AccessibleRef&) = delete;
    AccessibleRef& operator=(const AccessibleRef&) = delete;

    IAccessible* operator->() const noexcept { return m_object; }
    IAccessible* get() const noexcept { return m_object; }
    explicit operator bool() const noexcept { return m_object != nullptr; }
    void Reset() noexcept;

  private:
    IAccessible* m_object = nullptr;
};

// The object of the window's client area, through AccessibleObjectFromWindow (across processes
// when the window is another program's).
AccessibleRef ClientAccessible(HWND window);

VARIANT Child(long child);
// The property of a child (CHILDID_SELF for the object itself); empty text when there is none.
std::wstring Name(IAccessible* object, long child);
std::wstring Description(IAccessible* object, long child);
std::wstring DefaultAction(IAccessible* object, long child);
long Role(IAccessible* object, long child);
long State(IAccessible* object, long child);
// The child ids of what is selected (one VT_I4, or several through an enumerator).
std::vector<long> Selection(IAccessible* object);
// The child id of a VT_I4 result, -1 for anything else.
long ChildId(const VARIANT& result);

// A file list's row as a screen reader says it: the file's name, its date with the month's name
// (1 to 12) and the whole year, never "05/03/24", its size in bytes, and its folder.
void ExpectSpokenRow(const std::wstring& spoken,
                     const std::wstring& path,
                     int month,
                     const std::wstring& year,
                     const std::wstring& size);

struct WinEvent {
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
    bool operator==(const WinEvent&) const = default;
};

// Records the WinEvents in a range raised by one process (0: every process), delivered while this
// thread pumps messages. One recorder at a time.
class WinEventRecorder {
  public:
    WinEventRecorder(DWORD first, DWORD last, DWORD processId = 0);
    ~WinEventRecorder();
    WinEventRecorder(const WinEventRecorder&) = delete;
    WinEventRecorder& operator=(const WinEventRecorder&) = delete;

    bool Hooked() const noexcept { return m_hook != nullptr; }
    // What came so far for the window (every window when null), pumping first.
    std::vector<WinEvent> Events(HWND window = nullptr);
    size_t Count(DWORD event, HWND window, LONG child);
    void Clear() { m_events.clear(); }

  private:
    static void CALLBACK
    Callback(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread, DWORD time);
    HWINEVENTHOOK m_hook = nullptr;
    std::vector<WinEvent> m_events;
};

}  // namespace ferryl::test
