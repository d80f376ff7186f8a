#include "winsvc/window.h"

namespace ferryl {

Window::~Window() {
    if (m_hwnd) {
        // The object is going; the window must not call into it while it is destroyed.
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        ::DestroyWindow(hwnd);
    }
}

bool Window::RegisterWindowClass(const wchar_t* className,
                                 UINT classStyle,
                                 HBRUSH background,
                                 HICON icon,
                                 HCURSOR cursor) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (::GetClassInfoExW(instance, className, &windowClass))
        return true;
    windowClass = WNDCLASSEXW{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = &Window::StaticWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND Window::CreateHandle(const wchar_t* className,
                          const wchar_t* title,
                          DWORD style,
                          DWORD exStyle,
                          int x,
                          int y,
                          int width,
                          int height,
                          HWND parent,
                          HMENU menuOrId) {
    return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                             ::GetModuleHandleW(nullptr), this);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return ::DefWindowProcW(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        self->OnDestroyed();
    }
    return result;
}

}  // namespace ferryl
