#include "winsvc/subclass.h"

#include <cstdint>
#include <string>
#include <vector>

#include "common/continue_on_error.h"
#include "core/subclass_names.h"
#include "winsvc/window_proc_error.h"

namespace ferryl {

namespace names = subclass_names;

namespace {

// Process-wide, set before each client is called and never cleared (a nested dispatch overwrites it).
UINT g_currentMessage = 0;
WNDPROC g_oldWindowProc = nullptr;
// Raised by every attachment and detachment, so that a dispatch notices its clients changed.
unsigned long g_attachmentChanges = 0;

std::intptr_t Key(HWND hwnd) {
    return reinterpret_cast<std::intptr_t>(hwnd);
}

// Properties hold pointer-sized values; counts are stored as small integers cast to a handle.
std::intptr_t ReadNumber(HWND hwnd, const std::wstring& name) {
    return reinterpret_cast<std::intptr_t>(::GetPropW(hwnd, name.c_str()));
}

void WriteNumber(HWND hwnd, const std::wstring& name, std::intptr_t value) {
    ::SetPropW(hwnd, name.c_str(), reinterpret_cast<HANDLE>(value));
}

ISubclass* ReadClient(HWND hwnd, UINT message, long index) {
    return static_cast<ISubclass*>(::GetPropW(hwnd, names::Client(Key(hwnd), message, index).c_str()));
}

WNDPROC ReadOldProc(HWND hwnd) {
    return reinterpret_cast<WNDPROC>(::GetPropW(hwnd, names::Window(Key(hwnd)).c_str()));
}

LRESULT CallPrevious(WNDPROC previous, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // A window whose bookkeeping vanished still needs a sane answer.
    if (!previous)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return ::CallWindowProcW(previous, hwnd, message, wParam, lParam);
}

bool IsAttached(HWND hwnd, UINT message, const ISubclass* client) {
    const long count = static_cast<long>(ReadNumber(hwnd, names::ClientCount(Key(hwnd), message)));
    for (long i = 1; i <= count; ++i) {
        if (ReadClient(hwnd, message, i) == client)
            return true;
    }
    return false;
}

LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = ReadOldProc(hwnd);
    const long count = static_cast<long>(ReadNumber(hwnd, names::ClientCount(Key(hwnd), message)));
    if (count <= 0)
        return CallPrevious(previous, hwnd, message, wParam, lParam);

    // The clients as the message found them: one may detach itself or another, destroy another or
    // the window, and the indices of the rest then move under a walk by index.
    std::vector<ISubclass*> clients;
    clients.reserve(static_cast<size_t>(count));
    for (long i = 1; i <= count; ++i)
        clients.push_back(ReadClient(hwnd, message, i));
    const unsigned long changesBefore = g_attachmentChanges;
    // A client detached during this message is not called or asked again; a destroyed client has
    // detached in its teardown. Checked only once something was attached or detached.
    const auto stillAttached = [&](const ISubclass* client) {
        return g_attachmentChanges == changesBefore || IsAttached(hwnd, message, client);
    };

    LRESULT result = 0;
    bool previousCalled = false;
    for (size_t i = 0; i < clients.size(); ++i) {
        ISubclass* client = clients[i];
        if (!client) {
            result = CallPrevious(previous, hwnd, message, wParam, lParam);
            continue;
        }
        if (!stillAttached(client))
            continue;
        g_currentMessage = message;
        g_oldWindowProc = previous;
        // Asked before the call as well: a client that detaches itself in WindowProc has given
        // its answer for the previous procedure already.
        long response = client->MsgResponse();
        if (i == 0 && response == ResponseCallBefore && !previousCalled) {
            result = CallPrevious(previous, hwnd, message, wParam, lParam);
            previousCalled = true;
        }
        result = client->WindowProc(hwnd, message, wParam, lParam);
        // A window destroyed by its client takes no more calls, its previous procedure's included.
        if (!::IsWindow(hwnd))
            return result;
        bool last = true;
        for (size_t later = i + 1; later < clients.size() && last; ++later)
            last = clients[later] && !stillAttached(clients[later]);
        if (!last)
            continue;
        if (stillAttached(client))
            response = client->MsgResponse();
        if (response == ResponseCallAfter && !previousCalled) {
            result = CallPrevious(previous, hwnd, message, wParam, lParam);
            previousCalled = true;
        }
        break;
    }
    return result;
}

LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // A client's failure must not unwind through the system's dispatcher; the message's answer is 0.
    LRESULT result = 0;
    ContinueOnError(L"ISubclass.WindowProc", [&] { result = Dispatch(hwnd, message, wParam, lParam); });
    return result;
}

}  // namespace

void AttachMessage(ISubclass* iwp, HWND hwnd, UINT iMsg) {
    if (!::IsWindow(hwnd))
        RaiseWindowProcError(kErrInvalidWindow, L"Invalid window");
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != ::GetCurrentProcessId())
        RaiseWindowProcError(kErrExternalWindow, L"Can't modify external window");

    // The duplicate test comes before any change, so a rejected attachment leaves no count behind.
    const long clients = static_cast<long>(ReadNumber(hwnd, names::ClientCount(Key(hwnd), iMsg)));
    for (long i = 1; i <= clients; ++i) {
        if (ReadClient(hwnd, iMsg, i) == iwp)
            RaiseWindowProcError(kErrAlreadyHandled, L"Message already handled by another class");
    }

    const std::wstring countName = names::WindowCount(Key(hwnd));
    const std::intptr_t windowCount = ReadNumber(hwnd, countName);
    if (windowCount == 0) {
        LONG_PTR previous = ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SharedWindowProc));
        if (previous == 0)
            RaiseWindowProcError(kErrCantSubclass, L"Can't subclass window");
        ::SetPropW(hwnd, names::Window(Key(hwnd)).c_str(), reinterpret_cast<HANDLE>(previous));
        WriteNumber(hwnd, countName, 1);
    } else {
        WriteNumber(hwnd, countName, windowCount + 1);
    }

    WriteNumber(hwnd, names::ClientCount(Key(hwnd), iMsg), clients + 1);
    ::SetPropW(hwnd, names::Client(Key(hwnd), iMsg, clients + 1).c_str(), static_cast<HANDLE>(iwp));
    ++g_attachmentChanges;
}

void DetachMessage(ISubclass* iwp, HWND hwnd, UINT iMsg) noexcept {
    const std::wstring clientCountName = names::ClientCount(Key(hwnd), iMsg);
    const long clients = static_cast<long>(ReadNumber(hwnd, clientCountName));
    long found = 0;
    for (long i = 1; i <= clients && found == 0; ++i) {
        if (ReadClient(hwnd, iMsg, i) == iwp)
            found = i;
    }
    // Detaching what was never attached would otherwise drop another client and, at the last count,
    // take the shared procedure off a window that still has clients.
    if (found == 0)
        return;

    const std::wstring windowName = names::Window(Key(hwnd));
    const std::wstring countName = names::WindowCount(Key(hwnd));
    const std::intptr_t windowCount = ReadNumber(hwnd, countName);
    if (windowCount == 1) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(::GetPropW(hwnd, windowName.c_str())));
        ::RemovePropW(hwnd, windowName.c_str());
        ::RemovePropW(hwnd, countName.c_str());
    } else {
        WriteNumber(hwnd, countName, windowCount - 1);
    }

    for (long i = found + 1; i <= clients; ++i)
        ::SetPropW(hwnd, names::Client(Key(hwnd), iMsg, i - 1).c_str(), ReadClient(hwnd, iMsg, i));
    ::RemovePropW(hwnd, names::Client(Key(hwnd), iMsg, clients).c_str());
    WriteNumber(hwnd, clientCountName, clients - 1);
    ++g_attachmentChanges;
}

UINT CurrentMessage() noexcept {
    return g_currentMessage;
}

LRESULT CallOldWindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) noexcept {
    return CallPrevious(g_oldWindowProc, hwnd, iMsg, wParam, lParam);
}

}  // namespace ferryl
