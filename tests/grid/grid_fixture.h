#pragma once
// A top-level window to parent the grid under test, and the grid itself as a real child window.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

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

// Records the owner's events, answers them with the switches below, and fills virtual rows with
// "row <n>" (once `grid` is set).
class RecordingListener : public MoskGridListener {
  public:
    void SelectionChange(long lRow, long lCol) override { selections.emplace_back(lRow, lCol); }
    void DblClick(long lRow, long lCol) override { doubleClicks.emplace_back(lRow, lCol); }
    // bCancel comes in as the grid's in-edit flag: what is left there decides.
    void RequestEdit(long lRow, long lCol, short, bool& bCancel) override {
        edits.emplace_back(lRow, lCol);
        bCancel = keepEditing;
    }
    void CancelEdit() override { ++cancels; }
    void KeyDown(short& KeyCode, short& Shift, bool& bDoDefault) override {
        keys.push_back(KeyCode);
        shifts.push_back(Shift);
        bDoDefault = bDoDefault && keyDefault;
        if (KeyCode == handledAltKey && Shift == kAltMask)
            KeyCode = 0;
    }
    void KeyUp(short& KeyCode, short& Shift) override { upKeys.emplace_back(KeyCode, Shift); }
    void MouseDown(short&, short&, float&, float&, bool& bDoDefault) override {
        ++mouseDowns;
        bDoDefault = bDoDefault && mouseDefault;
    }
    void RequestRow(long lRow, std::wstring& sKey, bool&, long& lHeight, bool&, bool& bNoMoreRows) override {
        requested.push_back(lRow);
        requestedHeight = lHeight;
        sKey = L"ignored";
        bNoMoreRows = lRow > lastRow;
    }
    void RequestRowData(long lRow) override {
        filled.push_back(lRow);
        if (grid)
            grid->CellText(lRow, 1, TaggedValue(L"row " + std::to_wstring(lRow)));
    }
    void PropertyChanged(std::wstring_view name) override { changed.emplace_back(name); }

    MoskGrid* grid = nullptr;
    bool keepEditing = true;
    bool keyDefault = true;
    bool mouseDefault = true;
    short handledAltKey = 0;  // the Alt+key this owner handles, zeroing KeyCode
    long lastRow = 0;         // the last virtual row there is
    std::vector<std::pair<long, long>> selections, doubleClicks, edits;
    std::vector<std::pair<short, short>> upKeys;
    std::vector<short> keys, shifts;
    std::vector<long> requested, filled;
    std::vector<std::wstring> changed;
    long requestedHeight = 0;
    int cancels = 0;
    int mouseDowns = 0;
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

    void Listen() {
        listener.grid = &grid;
        grid.SetListener(&listener);
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
    RecordingListener listener;  // heard only after Listen()
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
