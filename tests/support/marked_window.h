#pragma once
// A window of this test process that carries the instance marker, as a running instance's receiver
// (or another program's window that happens to) does, and keeps every WM_COPYDATA it gets.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/instance.h"
#include "winsvc/window.h"

namespace ferryl::test {

class MarkedWindow : public Window {
  public:
    MarkedWindow() {
        RegisterWindowClass(L"FerrylTestMarked");
        CreateHandle(L"FerrylTestMarked", L"marked", WS_OVERLAPPEDWINDOW);
        MarkInstanceWindow(Hwnd());
    }
    std::vector<std::pair<ULONG_PTR, std::string>> received;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
        if (message == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            received.emplace_back(data->dwData, std::string(static_cast<const char*>(data->lpData), data->cbData));
            return 1;
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
};

}  // namespace ferryl::test
