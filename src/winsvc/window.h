#pragma once
// Base of every window the program creates itself: the class's static window procedure finds the
// object through GWLP_USERDATA (stored at WM_NCCREATE) and forwards to HandleMessage. No exception
// leaves a window procedure.

#include <windows.h>

namespace ferryl {

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const noexcept { return m_hwnd; }

    // Registers a window class whose procedure forwards to Window objects. Registering a class that
    // already exists succeeds.
    static bool RegisterWindowClass(const wchar_t* className,
                                    UINT classStyle = CS_DBLCLKS,
                                    HBRUSH background = nullptr,
                                    HICON icon = nullptr,
                                    HCURSOR cursor = ::LoadCursorW(nullptr, IDC_ARROW));

  protected:
    // Creates the window of a registered class; the object receives messages from WM_NCCREATE on.
    HWND CreateHandle(const wchar_t* className,
                      const wchar_t* title,
                      DWORD style,
                      DWORD exStyle = 0,
                      int x = CW_USEDEFAULT,
                      int y = CW_USEDEFAULT,
                      int width = CW_USEDEFAULT,
                      int height = CW_USEDEFAULT,
                      HWND parent = nullptr,
                      HMENU menuOrId = nullptr);

    // Handles one message; the default passes it to DefWindowProcW.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    // Called after WM_NCDESTROY, when the handle is already gone.
    virtual void OnDestroyed() noexcept {}

  private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HWND m_hwnd = nullptr;
};

}  // namespace ferryl
