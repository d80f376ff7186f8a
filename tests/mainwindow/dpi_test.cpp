// The main window and the About box at another DPI: WM_DPICHANGED as the system sends it when a
// window moves to a monitor of another scale, the saved position kept in twips, and captions, sizes
// and dates given the room their text needs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/intake.h"
#include "common/twips.h"
#include "support/main_window_test.h"
#include "support/messages.h"

namespace ferryl::test {
namespace {

// A control's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LONG FontHeight(HWND control) {
    LOGFONTW lf{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

int ButtonIconWidth(HWND button) {
    return IconWidth(reinterpret_cast<HICON>(::SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0)));
}

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

// A caption fits when the control's own measure of what it draws (BCM_GETIDEALSIZE: check box,
// picture and margins) and its text's extent in its font both fit inside it. Measured, not read
// from drawn pixels, which depend on how fonts are rasterised.
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

TEST_F(FormDpiTest, OneAndAHalfTimesTheDpiScalesControlsRowsAndFontsAndBackAgain) {
    const int to = from * 3 / 2;
    // The panel's controls, each with whether its width follows its caption.
    const std::vector<std::pair<HWND, bool>> controls{
        {form.copyC(), true},     {form.putanjaT(), false},     {form.deleteC(), true},  {form.temporaryD(), false},
        {form.desktopD(), false}, {form.attachmentsD(), false}, {form.customD(), false}, {form.send_nowD(), true}};
    std::vector<RECT> before;
    for (const auto& [control, fitted] : controls)
        before.push_back(PlaceOf(control));
    const RECT panelBefore = PlaceOf(form.pozadinaP());
    // The list follows too (its own sizes are the grid's DPI case).
    MoskGrid& lista = *form.Lista();
    const long rowBefore = lista.RowHeight(1);
    const LONG formFontBefore = FontHeight(form.copyC());
    const int iconBefore = ButtonIconWidth(form.temporaryD());

    SendDpiChanged(form.Hwnd(), to, from);
    EXPECT_EQ(form.Dpi(), to);
    for (size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(i);
        const RECT& was = before[i];
        const RECT is = PlaceOf(controls[i].first);
        if (controls[i].first != form.send_nowD()) {  // it keeps its distance to the right edge instead
            EXPECT_NEAR(is.left, was.left * 1.5, 1);
        }
        EXPECT_NEAR(is.top, was.top * 1.5, 1);
        EXPECT_NEAR(is.bottom - is.top, (was.bottom - was.top) * 1.5, 1);
        // Text is not exactly one and a half times as wide: a box that fits its caption may differ
        // a little.
        const double width = (was.right - was.left) * 1.5;
        EXPECT_NEAR(is.right - is.left, width, controls[i].second ? width / 10 : 1);
    }
    RECT client{};
    ::GetClientRect(form.Hwnd(), &client);
    const RECT panel = PlaceOf(form.pozadinaP());
    EXPECT_NEAR(panel.bottom - panel.top, (panelBefore.bottom - panelBefore.top) * 1.5, 1);
    EXPECT_EQ(panel.bottom, client.bottom);
    EXPECT_EQ(PlaceOf(lista.hwnd()).bottom, PlaceOf(form.StatusLine()).top);
    EXPECT_EQ(PlaceOf(form.StatusLine()).bottom, panel.top);
    EXPECT_EQ(client.right - PlaceOf(form.send_nowD()).right, TwipsToPixels(100, to));

    EXPECT_EQ(lista.RowHeight(1), rowBefore * 3 / 2);
    EXPECT_NEAR(FontHeight(form.copyC()), formFontBefore * 1.5, 1);
    EXPECT_EQ(FontHeight(form.send_nowD()), FontHeight(form.copyC()));
    EXPECT_EQ(ButtonIconWidth(form.temporaryD()), iconBefore * 3 / 2);
    BUTTON_IMAGELIST images{};
    ::SendMessageW(form.send_nowD(), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
    int cx = 0, cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(images.himl, &cx, &cy));
    EXPECT_EQ(cx, ScaleForDpi(32, to));

    // Back at the first DPI everything is where it was.
    SendDpiChanged(form.Hwnd(), from, to);
    for (size_t i = 0; i < controls.size(); ++i) {
        const RECT is = PlaceOf(controls[i].first);
        EXPECT_TRUE(::EqualRect(&is, &before[i])) << i;
    }
    EXPECT_EQ(lista.RowHeight(1), rowBefore);
}

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
    // Text too wide for its cell would end in "..." rather than lose its start.
    EXPECT_EQ(list.CellTextAlign(3, kColumnSize) & (DT_SINGLELINE | DT_END_ELLIPSIS | DT_RIGHT),
              static_cast<unsigned long>(DT_SINGLELINE | DT_END_ELLIPSIS | DT_RIGHT));
    AboutF& about = form.About();
    ASSERT_TRUE(about.Load());
    const RECT close = PlaceOf(about.CloseButton());
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
    // The About box follows its DPI: its places, its font and its picture.
    const RECT scaled = PlaceOf(about.CloseButton());
    EXPECT_NEAR(scaled.left, close.left * 2, 1);
    EXPECT_NEAR(scaled.top, close.top * 2, 1);
    EXPECT_NEAR(scaled.bottom - scaled.top, (close.bottom - close.top) * 2, 1);
    EXPECT_NEAR(FontHeight(about.CloseButton()), ::MulDiv(-825, from * 2, 7200), 0);
    EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(::SendMessageW(about.Picture(), STM_GETICON, 0, 0))),
              ScaleForDpi(32, from * 2));
    ::DestroyWindow(about.Hwnd());
}

}  // namespace
}  // namespace ferryl::test
