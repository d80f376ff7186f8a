#include "winsvc/modal_loop.h"

namespace ferryl {

void RunModal(HWND window, HWND owner) {
    // The window is owned only while it is shown: a window stays loaded between uses, and an owner
    // destroys the windows it owns when it goes.
    ::SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    bool disabledOwner = owner && ::IsWindowEnabled(owner);
    if (disabledOwner)
        ::EnableWindow(owner, FALSE);
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);

    MSG message{};
    bool quit = false;
    while (::IsWindow(window) && ::IsWindowVisible(window)) {
        BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        if (!::IsDialogMessageW(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }

    if (disabledOwner)
        ::EnableWindow(owner, TRUE);
    if (::IsWindow(window))
        ::SetWindowLongPtrW(window, GWLP_HWNDPARENT, 0);
    if (owner && ::IsWindow(owner))
        ::SetActiveWindow(owner);
    if (quit)
        ::PostQuitMessage(static_cast<int>(message.wParam));
}

}  // namespace ferryl
