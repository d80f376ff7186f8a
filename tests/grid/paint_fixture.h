#pragma once
// A top-level window to parent the grid under test, the grid itself as a real child window, and an
// owner that records the grid's events. Pixels of the grid as it is on the screen, its client area
// blitted from the window DC into a 32-bit DIB; and what a cell showing a text must show, drawn by
// DrawText itself in the same font, so that no test depends on how the fonts present draw glyphs.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/error.h"
#include "common/unique_handle.h"
#include "grid/mosk_grid.h"
#include "support/messages.h"
#include "winsvc/window.h"

namespace ferryl::test {

// With a menu bar; it records the menu activations and the closing the grid's keys bring about,
// carrying none of them out.
struct GridHostWindow : Window {
    bool Create() {
        RegisterWindowClass(L"FerrylGridTestHost");
        HMENU bar = ::CreateMenu();
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), L"&File");
        return CreateHandle(L"FerrylGridTestHost", L"grid test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 0, 400,
                            340, nullptr, bar) != nullptr;
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
            ++closes;
            return 0;
        }
        if (message == WM_INITMENU) {
            ++menusOpened;
            ::EndMenu();  // the menu loop ends at once, so that the test goes on
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
    int closes = 0, menusOpened = 0;
};

// Records the owner's events.
struct RecordingListener : MoskGridListener {
    void SelectionChange(long lRow, long lCol) override { selections.emplace_back(lRow, lCol); }
    void DblClick(long lRow, long lCol) override { doubleClicks.emplace_back(lRow, lCol); }
    void KeyDown(short& KeyCode, short& Shift, bool&) override {
        keys.emplace_back(KeyCode, Shift);
        if (KeyCode == handledAltKey && Shift == kAltMask)
            KeyCode = 0;
    }

    short handledAltKey = 0;  // the Alt+key this owner handles, zeroing KeyCode
    std::vector<std::pair<long, long>> selections, doubleClicks;
    std::vector<std::pair<short, short>> keys;  // with their Shift
};

class GridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create());
        ASSERT_TRUE(grid.Create(host.Hwnd(), 0, 0, 380, 260));
        // Hidden windows collect no update region; the redraw tests look at it.
        ::ShowWindow(host.Hwnd(), SW_SHOWNOACTIVATE);
        ::UpdateWindow(host.Hwnd());
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

class Snapshot {
  public:
    // The client area of a window, or `width` by `height` pixels of a DC.
    explicit Snapshot(HWND hwnd) {
        RECT rc{};
        ::GetClientRect(hwnd, &rc);
        WindowDC window(hwnd);
        Take(window.get(), rc.right, rc.bottom);
    }
    Snapshot(HDC dc, int width, int height) { Take(dc, width, height); }

    // As a COLORREF (0x00BBGGRR).
    COLORREF At(int x, int y) const {
        DWORD p = m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of the rectangle that have the colour.
    int Count(const RECT& rc, COLORREF color) const {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                n += At(x, y) == color ? 1 : 0;
        return n;
    }
    // Whether the rectangle is the same here and in `other`, there at its place shifted by (dx, dy).
    bool SameAs(const Snapshot& other, const RECT& rc, int dx = 0, int dy = 0) const {
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                if (At(x, y) != other.At(x + dx, y + dy))
                    return false;
        return true;
    }
    RECT All() const { return RECT{0, 0, m_width, m_height}; }

  private:
    void Take(HDC source, int width, int height) {
        m_width = width;
        m_height = height;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top-down rows
        void* bits = nullptr;
        UniqueMemoryDC memory(::CreateCompatibleDC(source));
        UniqueBitmap dib(::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        SelectGuard select(memory.get(), dib.get());
        ::BitBlt(memory.get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
        ::GdiFlush();
        m_pixels.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
    }
    int m_width = 0, m_height = 0;
    std::vector<DWORD> m_pixels;
};

class PaintTest : public GridTest {
  protected:
    static constexpr int kHeader = 20;
    static constexpr int kRow = 20;
    static constexpr int kColumn = 80;

    // Three 80-pixel columns "c1".."c3" and `rows` rows of short texts; the first paint done.
    void Fill(long rows) {
        for (int i = 1; i <= 3; ++i)
            grid.AddColumn(L"c" + std::to_wstring(i), L"Head " + std::to_wstring(i), 0, -1, kColumn);
        grid.Rows(rows);
        for (long r = 1; r <= rows; ++r)
            for (long c = 1; c <= 3; ++c)
                grid.CellText(r, c, TaggedValue(L"r" + std::to_wstring(r)));
        Repaint();
    }
    void Repaint() {
        ::RedrawWindow(grid.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpMessages();
    }
    void Focus(bool on) { ::SendMessageW(grid.hwnd(), on ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0); }
    // The inside of a cell (1-based row, display column), clear of its text at the left.
    static POINT Inside(long row, long column) {
        return POINT{static_cast<int>((column - 1) * kColumn + 60),
                     static_cast<int>(kHeader + (row - 1) * kRow + kRow / 2)};
    }
    static RECT CellRect(long row, long column) {
        return RECT{static_cast<int>((column - 1) * kColumn), static_cast<int>(kHeader + (row - 1) * kRow),
                    static_cast<int>(column * kColumn), static_cast<int>(kHeader + row * kRow)};
    }
    static COLORREF Sys(int index) { return ::GetSysColor(index); }
    // Whether a cell of the first row's height, at display column 1 to 3, shows there the text in
    // `ink` over `back` in the grid's font, as DrawText draws it in the cell's text area (the cell
    // less its one-pixel edge, where a focus frame or grid lines go).
    bool ShowsText(const Snapshot& shot, long row, long column, const std::wstring& text, COLORREF ink, COLORREF back) {
        WindowDC screen(grid.hwnd());
        UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
        UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), kColumn, kRow));
        SelectGuard selectBitmap(memory.get(), bitmap.get());
        SelectGuard selectFont(memory.get(), grid.FontHandle());
        UniqueBrush brush(::CreateSolidBrush(back));
        RECT all{0, 0, kColumn, kRow}, area{1, 1, kColumn - 1, kRow - 1};
        ::FillRect(memory.get(), &all, brush.get());
        ::SetBkMode(memory.get(), TRANSPARENT);
        ::SetTextColor(memory.get(), ink);
        ::DrawTextW(memory.get(), text.c_str(), -1, &area, grid.CellTextAlign(row, column));
        const RECT cell = CellRect(row, column);
        const Snapshot drawn(memory.get(), kColumn, kRow);
        if (!text.empty() && drawn.Count(area, back) == (kColumn - 2) * (kRow - 2))
            ADD_FAILURE() << "DrawText drew nothing of the text: there is no ink to tell the colour by";
        return drawn.SameAs(shot, area, cell.left, cell.top);
    }
};

}  // namespace ferryl::test
