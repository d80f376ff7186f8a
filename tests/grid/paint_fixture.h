#pragma once
// Pixels of the grid as it is on the screen: its client area blitted from the window DC into a
// 32-bit DIB, and the colours the painter should have used.

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "common/unique_handle.h"
#include "grid_fixture.h"
#include "support/messages.h"

namespace ferryl::test {

class Snapshot {
  public:
    explicit Snapshot(HWND hwnd) {
        RECT rc{};
        ::GetClientRect(hwnd, &rc);
        m_width = rc.right;
        m_height = rc.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        WindowDC window(hwnd);
        UniqueMemoryDC memory(::CreateCompatibleDC(window.get()));
        UniqueBitmap dib(::CreateDIBSection(window.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        SelectGuard select(memory.get(), dib.get());
        ::BitBlt(memory.get(), 0, 0, m_width, m_height, window.get(), 0, 0, SRCCOPY);
        ::GdiFlush();
        auto* pixels = static_cast<const DWORD*>(bits);
        m_pixels.assign(pixels, pixels + static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
    }

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
    // How near the rectangle comes to the colour: the smallest, over its pixels, of the largest
    // difference in one channel. Text is read this way rather than by counting pixels of an exact
    // colour, which font smoothing and the fonts present decide.
    int Nearest(const RECT& rc, COLORREF color) const {
        int nearest = 255;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                COLORREF p = At(x, y);
                int distance =
                    std::max({std::abs(GetRValue(p) - GetRValue(color)), std::abs(GetGValue(p) - GetGValue(color)),
                              std::abs(GetBValue(p) - GetBValue(color))});
                nearest = std::min(nearest, distance);
            }
        }
        return nearest;
    }
    // Whether the rectangle is the same here and in `other` at the same place.
    bool SameAs(const Snapshot& other, const RECT& rc) const {
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                if (At(x, y) != other.At(x, y))
                    return false;
        return true;
    }
    RECT All() const { return RECT{0, 0, m_width, m_height}; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

  private:
    int m_width = 0;
    int m_height = 0;
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
    // How near a text's strongest pixels come to its colour, however the font smooths its edges: a
    // stem of a glyph is at least this much ink.
    static constexpr int kInkTolerance = 96;
};

}  // namespace ferryl::test
