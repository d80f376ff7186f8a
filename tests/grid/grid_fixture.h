#pragma once
// A top-level window to parent the grid under test, the grid itself as a real child window, and an
// owner that records the grid's events.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/error.h"
#include "grid/mosk_grid.h"
#include "winsvc/window.h"

namespace ferryl::test {

struct GridHostWindow : Window {
    bool Create() {
        RegisterWindowClass(L"FerrylGridTestHost");
        return CreateHandle(L"FerrylGridTestHost", L"grid test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 0, 400,
                            300) != nullptr;
    }
};

// Records the owner's events, answers them with the switches below, and fills virtual rows with
// "row <n>" (once `grid` is set).
struct RecordingListener : MoskGridListener {
    void SelectionChange(long lRow, long lCol) override { selections.emplace_back(lRow, lCol); }
    void DblClick(long lRow, long lCol) override { doubleClicks.emplace_back(lRow, lCol); }
    // bCancel comes in as the grid's in-edit flag: what is left there decides.
    void RequestEdit(long lRow, long lCol, short, bool& bCancel) override {
        edits.emplace_back(lRow, lCol);
        bCancel = keepEditing;
    }
    void CancelEdit() override { ++cancels; }
    void KeyDown(short& KeyCode, short& Shift, bool& bDoDefault) override {
        keys.emplace_back(KeyCode, Shift);
        bDoDefault = bDoDefault && keyDefault;
        if (KeyCode == handledAltKey && Shift == kAltMask)
            KeyCode = 0;
    }
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
    void ColumnWidthStartChange(long lCol, long, bool& bCancel) override {
        widthStarts.push_back(lCol);
        bCancel = refuseStart;
    }
    void ColumnWidthChanging(long, long lWidth, bool& bCancel) override {
        widthSteps.push_back(lWidth);
        bCancel = lWidth < refuseBelow;
    }
    void ColumnWidthChanged(long lCol, long lWidth, bool& bCancel) override {
        widthsChanged.emplace_back(lCol, lWidth);
        bCancel = cancelWidthChanged;
    }
    void ColumnOrderChanged() override { ++orderChanges; }

    MoskGrid* grid = nullptr;
    bool keepEditing = true, keyDefault = true, mouseDefault = true, refuseStart = false, cancelWidthChanged = false;
    short handledAltKey = 0;  // the Alt+key this owner handles, zeroing KeyCode
    long lastRow = 0;         // the last virtual row there is
    long refuseBelow = 0;     // width steps below this are refused
    std::vector<std::pair<long, long>> selections, doubleClicks, edits, widthsChanged;
    std::vector<std::pair<short, short>> keys;  // with their Shift
    std::vector<long> requested, filled, widthStarts, widthSteps;
    std::vector<std::wstring> changed;
    long requestedHeight = 0;
    int cancels = 0, mouseDowns = 0, orderChanges = 0;
};

class GridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create());
        ASSERT_TRUE(grid.Create(host.Hwnd(), 0, 0, 380, 260));
        // Hidden windows collect no update region; the redraw tests look at it.
        ::ShowWindow(host.Hwnd(), SW_SHOWNOACTIVATE);
        ::UpdateWindow(host.Hwnd());
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
        for (long r = 1; r <= grid.Rows(); ++r)
            texts += (r > 1 ? L"," : L"") + grid.CellText(r, lCol).ToText();
        return texts;
    }

    GridHostWindow host;
    RecordingListener listener;
    MoskGrid grid;
};

// Runs `action` and returns the number of the grid error it raised; fails the test when it raised none.
inline long GridErrorNumber(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.Number();
    }
    ADD_FAILURE() << "no error was raised";
    return 0;
}

}  // namespace ferryl::test
