#pragma once
// Message subclassing: any number of client objects intercept chosen messages of any window of this
// process. One shared window procedure is installed per window; the bookkeeping lives in the
// window's own properties, so nothing but the window itself holds it.

#include <windows.h>

namespace ferryl {

// What the previous window procedure does for a message the clients handle.
enum SubclassResponse : long {
    ResponseConsume = 0,     // never called
    ResponseCallAfter = 1,   // called after the clients; its result is the message's result
    ResponseCallBefore = 2,  // called before the clients; the clients' result is the message's result
};

// Implemented by the objects that receive subclassed messages.
class ISubclass {
  public:
    virtual ~ISubclass() = default;

    // The response kind for the message being dispatched (CurrentMessage tells which).
    virtual long MsgResponse() = 0;
    virtual void MsgResponse(long response) = 0;
    virtual LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
        (void)hwnd, (void)iMsg, (void)wParam, (void)lParam;
        return 0;
    }
};

// The errors AttachMessage raises, OR'ed with kObjectErrorBase.
inline constexpr long kErrCantSubclass = 13081;
inline constexpr long kErrAlreadyHandled = 13082;
inline constexpr long kErrInvalidWindow = 13083;
inline constexpr long kErrExternalWindow = 13084;

// Starts delivering message iMsg of window hwnd to the client. Raises ferryl::Error for a handle
// that is no window, a window of another process, a failed subclassing, or a client already
// attached to that message; a rejected call changes nothing.
void AttachMessage(ISubclass* iwp, HWND hwnd, UINT iMsg);

// Stops delivering that message to that client; the window's last detachment puts its previous
// procedure back. Detaching what is not attached changes nothing. Never raises.
void DetachMessage(ISubclass* iwp, HWND hwnd, UINT iMsg) noexcept;

// The message being dispatched; meaningful inside a client's MsgResponse or WindowProc only, and
// only before the client causes another subclassed message to be dispatched.
UINT CurrentMessage() noexcept;

// Calls the previous procedure of the window being dispatched; meaningful inside WindowProc only.
LRESULT CallOldWindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) noexcept;

// The same operations as an object, for owners that prefer one.
class GSubclass {
  public:
    void AttachMessage(ISubclass* iwp, HWND hwnd, UINT iMsg) { ferryl::AttachMessage(iwp, hwnd, iMsg); }
    void DetachMessage(ISubclass* iwp, HWND hwnd, UINT iMsg) noexcept { ferryl::DetachMessage(iwp, hwnd, iMsg); }
    UINT CurrentMessage() const noexcept { return ferryl::CurrentMessage(); }
    LRESULT CallOldWindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) noexcept {
        return ferryl::CallOldWindowProc(hwnd, iMsg, wParam, lParam);
    }
};

}  // namespace ferryl
