#include "winsvc/window.h"

#include <gtest/gtest.h>

#include <vector>

namespace ferryl {
namespace {

class RecordingWindow : public Window {
  public:
    bool Create() {
        RegisterWindowClass(L"FerrylTestRecordingWindow");
        return CreateHandle(L"FerrylTestRecordingWindow", L"test", WS_OVERLAPPEDWINDOW) != nullptr;
    }
    std::vector<UINT> messages;
    bool destroyed = false;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
        messages.push_back(message);
        if (message == WM_APP)
            return 42;
        return Window::HandleMessage(message, wParam, lParam);
    }
    void OnDestroyed() noexcept override { destroyed = true; }
};

TEST(Window, ForwardsMessagesFromCreationToDestruction) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    HWND hwnd = window.Hwnd();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_FALSE(window.messages.empty());
    EXPECT_EQ(window.messages.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(::SendMessageW(hwnd, WM_APP, 0, 0), 42);

    ::DestroyWindow(hwnd);
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.Hwnd(), nullptr);
    EXPECT_EQ(window.messages.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(Window, DestroyingTheObjectDestroysItsWindow) {
    HWND hwnd = nullptr;
    {
        RecordingWindow window;
        ASSERT_TRUE(window.Create());
        hwnd = window.Hwnd();
    }
    EXPECT_FALSE(::IsWindow(hwnd));
}

}  // namespace
}  // namespace ferryl
