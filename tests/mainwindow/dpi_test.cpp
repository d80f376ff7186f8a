// The main window and the About box at another DPI (WM_DPICHANGED as the system sends it): the
// saved position kept in twips, and captions, sizes and dates given the room their text needs.

#include <gtest/gtest.h>

#include <string>

#include "app/intake.h"
#include "common/twips.h"
#include "support/main_window_test.h"
#include "support/messages.h"

namespace ferryl::test {
namespace {

// The window moved to a monitor of `dpi`, with the rectangle the system suggests for it.
void SendDpiChanged(HWND window, int dpi, int from) {
    RECT r{};
    ::GetWindowRect(window, &r);
    RECT suggested{r.left, r.top, r.left + ::MulDiv(r.right - r.left, dpi, from),
                   r.top + ::MulDiv(r.bottom - r.top, dpi, from)};
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages();
    RECT now{};
    ::GetWindowRect(window, &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested)) << "the window takes the suggested rectangle";
}

// A caption fits when the control's own measure (BCM_GETIDEALSIZE) and its text's extent in its
// font fit inside it: measured, not read from pixels, which depend on font rasterising.
void ExpectCaptionFits(HWND control) {
    wchar_t text[128]{};
    ::GetWindowTextW(control, text, 128);
    RECT client{};
    ::GetClientRect(control, &client);
    SIZE ideal{};
    ::SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
    EXPECT_LE(ideal.cx, client.right) << text;
    WindowDC dc(control);
    SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT extent{};
    ::DrawTextW(dc.get(), text, -1, &extent, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_LT(extent.right, client.right) << text;
}

class FormDpiTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        AddFilesToList(folder.WriteFile(L"a.txt") + L" " + folder.WriteFile(L"b.txt"), form);
        PumpMessages();
        ASSERT_EQ(form.Rows(), 2);
        ::ShowWindow(form.Hwnd(), SW_SHOWNORMAL);
        ::SetWindowPos(form.Hwnd(), nullptr, 20, 20, 640, 420, SWP_NOZORDER);
        PumpMessages();
        from = form.Dpi();
    }
    int from = 96;
};

TEST_F(FormDpiTest, TheSavedPositionStaysInTwipsAndTheNormalPlaceWhileMaximisedOrMinimised) {
    const int to = from * 3 / 2;
    SendDpiChanged(form.Hwnd(), to, from);
    ::SetWindowPos(form.Hwnd(), nullptr, 30, 60, 900, 600, SWP_NOZORDER);
    form.Unload();
    auto ini = [](const wchar_t* key) { return ReadIni(L"Window Position", key, StartUp().IniFile); };
    // The size is the window's at its DPI; the position is on the desktop that all monitors share.
    const std::wstring width = std::to_wstring(PixelsToTwips(900, to));
    EXPECT_EQ(ini(L"WindowState"), L"0");
    EXPECT_EQ(ini(L"WindowWidth"), width);
    EXPECT_EQ(ini(L"WindowHeight"), std::to_wstring(PixelsToTwips(600, to)));
    EXPECT_EQ(ini(L"WindowLeft"), std::to_wstring(PixelsToTwips(30, ScreenDpi())));
    EXPECT_EQ(ini(L"WindowTop"), std::to_wstring(PixelsToTwips(60, ScreenDpi())));

    // Loaded again at the first DPI, the window is as large in inches as it was.
    ASSERT_TRUE(form.Load());
    ASSERT_EQ(form.Dpi(), from);
    RECT outer{};
    ::GetWindowRect(form.Hwnd(), &outer);
    EXPECT_EQ(outer.left, 30);
    EXPECT_EQ(outer.top, 60);
    EXPECT_NEAR(outer.right - outer.left, 900.0 * from / to, 1);
    EXPECT_NEAR(outer.bottom - outer.top, 600.0 * from / to, 1);

    ::ShowWindow(form.Hwnd(), SW_MAXIMIZE);
    form.Unload();
    EXPECT_EQ(ini(L"WindowState"), L"2");
    ASSERT_TRUE(form.Load());
    form.ShowMainWindow();
    EXPECT_TRUE(::IsZoomed(form.Hwnd())) << "a saved state 2 opens maximised";
    ::ShowWindow(form.Hwnd(), SW_MINIMIZE);
    form.Unload();
    EXPECT_EQ(ini(L"WindowState"), L"1");
    EXPECT_EQ(ini(L"WindowWidth"), width) << "the normal place stays";
}

// The width text needs in the list's font.
long TextWidth(MoskGrid& list, const std::wstring& text) {
    WindowDC dc(list.hwnd());
    SelectGuard font(dc.get(), list.FontHandle());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

TEST_F(FormDpiTest, EveryCaptionAThreeGigabyteSizeAndTheDatesFitAt96144And192Dpi) {
    // A sparse file: its length without the disk space.
    const std::wstring big = folder / L"big.iso";
    {
        UniqueFile file(::CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER length{};
        length.QuadPart = 3221225472LL;
        ASSERT_TRUE(::SetFilePointerEx(file.get(), length, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(file.get()));
    }
    AddFilesToList(big, form);
    PumpMessages();
    MoskGrid& list = *form.Lista();
    ASSERT_EQ(list.CellFormattedText(3, kColumnSize), L"3,221,225,472");
    AboutF& about = form.About();
    ASSERT_TRUE(about.Load());
    for (int dpi : {from, from * 3 / 2, from * 2}) {
        SCOPED_TRACE(dpi);
        SendDpiChanged(form.Hwnd(), dpi, form.Dpi());
        for (HWND control : {form.copyC(), form.deleteC(), form.send_nowD()})
            ExpectCaptionFits(control);
        // The cell's text area is its width less the grid lines' 2 pixels on either side.
        for (long row = 1; row <= 3; ++row) {
            for (long column : {kColumnSize, kColumnDate})
                EXPECT_GE(list.ColumnWidth(TaggedValue(column)) - 4,
                          TextWidth(list, list.CellFormattedText(row, column)));
        }
        SendDpiChanged(about.Hwnd(), dpi, about.Dpi());
        for (HWND button : {about.CloseButton(), about.HomePageButton(), about.DonationsButton()})
            ExpectCaptionFits(button);
    }
    ::DestroyWindow(about.Hwnd());
}

}  // namespace
}  // namespace ferryl::test
