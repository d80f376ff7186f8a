#pragma once
// A top-level window to parent the grid under test, and the grid itself as a real child window.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/error.h"
#include "grid/mosk_grid.h"
#include "winsvc/window.h"

namespace ferryl::test {

class GridHostWindow : public Window {
  public:
    bool Create() {
        RegisterWindowClass(L"FerrylGridTestHost");
        return CreateHandle(L"FerrylGridTestHost", L"grid test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 0, 400,
                            300) != nullptr;
    }
};

class GridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create());
        ASSERT_TRUE(grid.Create(host.Hwnd(), 0, 0, 380, 260));
        // Hidden windows collect no update region; the redraw tests look at it.
        ::ShowWindow(host.Hwnd(), SW_SHOWNOACTIVATE);
        ::UpdateWindow(host.Hwnd());
    }

    // Adds `count` columns keyed "c1", "c2", ...
    void AddColumns(int count) {
        for (int i = 1; i <= count; ++i)
            grid.AddColumn(L"c" + std::to_wstring(i));
    }

    // The text of every row's cell in cell column lCol, joined with ",".
    std::wstring ColumnTexts(long lCol) const {
        std::wstring texts;
        for (long r = 1; r <= grid.Rows(); ++r) {
            if (r > 1)
                texts += L",";
            texts += grid.CellText(r, lCol).ToText();
        }
        return texts;
    }

    GridHostWindow host;
    MoskGrid grid;
};

// Runs `action` and returns the grid error it raised; fails the test when it raised none.
inline Error CatchGridError(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no error was raised";
    return Error(0, L"", L"");
}

}  // namespace ferryl::test
