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

    // PeekMessageW and a wait that sent messages end too, not GetMessageW: GetMessageW handles a
    // message sent from another thread or process itself and goes on waiting, so a close it causes
    // (a screen reader's or an automation tool's click) would leave the loop, and the owner
    // disabled, until something is posted. A PeekMessageW that finds nothing posted may have
    // handled such a message: the window is looked at again before the wait.
    const auto shown = [window] { return ::IsWindow(window) && ::IsWindowVisible(window); };
    MSG message{};
    bool quit = false;
    while (shown()) {
        if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (shown())
                ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        if (message.message == WM_QUIT) {
            quit = true;
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
