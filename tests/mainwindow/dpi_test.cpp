// The main window and the About box at another DPI: WM_DPICHANGED as the system sends it when a
// window moves to a monitor of another scale, and captions that are never clipped.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

#include "app/intake.h"
#include "common/twips.h"
#include "support/main_window_test.h"
#include "support/messages.h"

namespace ferryl {
namespace {

using test::PumpMessages;

// A control's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LONG FontHeight(HFONT font) {
    LOGFONTW lf{};
    ::GetObjectW(font, sizeof lf, &lf);
    return lf.lfHeight;
}

LONG ControlFontHeight(HWND control) {
    return FontHeight(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
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

void SendDpiChanged(HWND window, int dpi, RECT suggested) {
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages();
}

RECT Scaled(const RECT& r, int to, int from) {
    return RECT{r.left, r.top, r.left + ::MulDiv(r.right - r.left, to, from),
                r.top + ::MulDiv(r.bottom - r.top, to, from)};
}

// Left and right of what a control draws that is not its background (its caption, check box and
// picture), drawn by the control itself through WM_PRINTCLIENT. `inset` leaves out a push
// button's edges.
struct InkSpan {
    int left = -1;
    int right = -1;
    int Width() const { return left < 0 ? 0 : right - left + 1; }
};

InkSpan CaptionInk(HWND control, int inset) {
    RECT client{};
    ::GetClientRect(control, &client);
    const int width = client.right, height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc)
        return {};
    SelectGuard select(dc.get(), bitmap.get());
    ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
    ::GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    // The background is the colour most of the box has.
    std::map<DWORD, int> counts;
    for (int y = inset; y < height - inset; ++y)
        for (int x = inset; x < width - inset; ++x)
            ++counts[pixels[y * width + x] & 0xFFFFFF];
    const DWORD background =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    auto differs = [&](DWORD pixel) {
        for (int shift : {0, 8, 16}) {
            if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((background >> shift) & 0xFF)) >
                48)
                return true;
        }
        return false;
    };
    InkSpan span;
    for (int y = inset; y < height - inset; ++y) {
        for (int x = inset; x < width - inset; ++x) {
            if (!differs(pixels[y * width + x] & 0xFFFFFF))
                continue;
            if (span.left < 0 || x < span.left)
                span.left = x;
            span.right = std::max(span.right, x);
        }
    }
    return span;
}

// A caption is whole when the control, given room to spare, draws nothing wider than in its own
// box, and that drawing stays inside the box.
void ExpectCaptionWhole(HWND control, int inset) {
    const RECT place = PlaceOf(control);
    const InkSpan own = CaptionInk(control, inset);
    ::SetWindowPos(control, nullptr, 0, 0, place.right - place.left + 400, place.bottom - place.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    const InkSpan roomy = CaptionInk(control, inset);
    ::SetWindowPos(control, nullptr, 0, 0, place.right - place.left, place.bottom - place.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    wchar_t text[128]{};
    ::GetWindowTextW(control, text, 128);
    RECT client{};
    ::GetClientRect(control, &client);
    EXPECT_GT(roomy.Width(), 0) << "nothing drawn for " << text;
    EXPECT_EQ(own.Width(), roomy.Width()) << text << " is clipped";
    EXPECT_LT(own.right, client.right - inset) << text << " touches the edge";
}

class FormDpiTest : public test::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        const std::wstring a = folder.WriteFile(L"a.txt"), b = folder.WriteFile(L"b.txt");
        AddFilesToList(a + L" " + b + L" " + folder.WriteFile(L"c.txt"), form);
        PumpMessages();
        ASSERT_EQ(form.Rows(), 3);
        ::ShowWindow(form.Hwnd(), SW_SHOWNORMAL);
        ::SetWindowPos(form.Hwnd(), nullptr, 20, 20, 640, 420, SWP_NOZORDER);
        PumpMessages();
        from = form.Dpi();
    }
    // The panel's controls, each with whether its width follows its caption.
    std::vector<std::pair<HWND, bool>> PanelControls() {
        return {{form.copyC(), true},       {form.putanjaT(), false}, {form.deleteC(), true},
                {form.temporaryD(), false}, {form.desktopD(), false}, {form.attachmentsD(), false},
                {form.customD(), false},    {form.send_nowD(), true}};
    }

    int from = 96;
};

TEST_F(FormDpiTest, OneAndAHalfTimesTheDpiScalesControlsRowsAndFonts) {
    const int to = from * 3 / 2;
    RECT outer{};
    ::GetWindowRect(form.Hwnd(), &outer);
    std::vector<RECT> before;
    for (const auto& [control, fitted] : PanelControls())
        before.push_back(PlaceOf(control));
    const RECT panelBefore = PlaceOf(form.pozadinaP());
    MoskGrid& lista = *form.Lista();
    const long rowBefore = lista.RowHeight(1), headerBefore = lista.HeaderHeight();
    const long nameWidthBefore = lista.ColumnWidth(TaggedValue(std::wstring(L"file")));
    const LONG gridFontBefore = FontHeight(lista.FontHandle());
    const LONG formFontBefore = ControlFontHeight(form.copyC());
    const int iconBefore =
        IconWidth(reinterpret_cast<HICON>(::SendMessageW(form.temporaryD(), BM_GETIMAGE, IMAGE_ICON, 0)));

    const RECT suggested = Scaled(outer, to, from);
    SendDpiChanged(form.Hwnd(), to, suggested);

    EXPECT_EQ(form.Dpi(), to);
    RECT now{};
    ::GetWindowRect(form.Hwnd(), &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested)) << "the window takes the suggested rectangle";
    const auto controls = PanelControls();
    for (size_t i = 0; i < controls.size(); ++i) {
        const RECT& was = before[i];
        const RECT is = PlaceOf(controls[i].first);
        SCOPED_TRACE(i);
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
    EXPECT_EQ(lista.DefaultRowHeight(), rowBefore * 3 / 2);
    EXPECT_EQ(lista.HeaderHeight(), headerBefore * 3 / 2);
    EXPECT_EQ(lista.ColumnWidth(TaggedValue(std::wstring(L"file"))), nameWidthBefore * 3 / 2);
    EXPECT_NEAR(FontHeight(lista.FontHandle()), gridFontBefore * 1.5, 1);
    EXPECT_NEAR(ControlFontHeight(form.copyC()), formFontBefore * 1.5, 1);
    EXPECT_EQ(ControlFontHeight(form.send_nowD()), ControlFontHeight(form.copyC()));
    EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(::SendMessageW(form.temporaryD(), BM_GETIMAGE, IMAGE_ICON, 0))),
              iconBefore * 3 / 2);
    BUTTON_IMAGELIST images{};
    ::SendMessageW(form.send_nowD(), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
    int cx = 0, cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(images.himl, &cx, &cy));
    EXPECT_EQ(cx, ScaleForDpi(32, to));

    // Back at the first DPI everything is where it was.
    SendDpiChanged(form.Hwnd(), from, outer);
    for (size_t i = 0; i < controls.size(); ++i) {
        const RECT is = PlaceOf(controls[i].first);
        EXPECT_TRUE(::EqualRect(&is, &before[i])) << i;
    }
    EXPECT_EQ(lista.RowHeight(1), rowBefore);
    EXPECT_EQ(FontHeight(lista.FontHandle()), gridFontBefore);
}

TEST_F(FormDpiTest, TheSavedPositionStaysInTwips) {
    const int to = from * 3 / 2;
    RECT outer{};
    ::GetWindowRect(form.Hwnd(), &outer);
    SendDpiChanged(form.Hwnd(), to, Scaled(outer, to, from));
    ::SetWindowPos(form.Hwnd(), nullptr, 30, 60, 900, 600, SWP_NOZORDER);
    form.Unload();
    auto ini = [](const wchar_t* key) { return ReadIni(L"Window Position", key, StartUp().IniFile); };
    // The size is the window's at its DPI; the position is on the desktop that all monitors share.
    EXPECT_EQ(ini(L"WindowWidth"), std::to_wstring(PixelsToTwips(900, to)));
    EXPECT_EQ(ini(L"WindowHeight"), std::to_wstring(PixelsToTwips(600, to)));
    EXPECT_EQ(ini(L"WindowLeft"), std::to_wstring(PixelsToTwips(30, ScreenDpi())));
    EXPECT_EQ(ini(L"WindowTop"), std::to_wstring(PixelsToTwips(60, ScreenDpi())));

    // Loaded again at the first DPI, the window is as large in inches as it was.
    ASSERT_TRUE(form.Load());
    ASSERT_EQ(form.Dpi(), from);
    RECT outer2{};
    ::GetWindowRect(form.Hwnd(), &outer2);
    EXPECT_EQ(outer2.left, 30);
    EXPECT_EQ(outer2.top, 60);
    EXPECT_NEAR(outer2.right - outer2.left, 900.0 * from / to, 1);
    EXPECT_NEAR(outer2.bottom - outer2.top, 600.0 * from / to, 1);
}

TEST_F(FormDpiTest, NoCaptionOfTheBottomPanelIsClipped) {
    ::SetFocus(form.Lista()->hwnd());  // no focus rectangle around a caption
    for (int dpi : {from, from * 3 / 2, from * 2}) {
        SCOPED_TRACE(dpi);
        RECT outer{};
        ::GetWindowRect(form.Hwnd(), &outer);
        SendDpiChanged(form.Hwnd(), dpi, Scaled(outer, dpi, form.Dpi()));
        ExpectCaptionWhole(form.copyC(), 0);
        ExpectCaptionWhole(form.deleteC(), 0);
        ExpectCaptionWhole(form.send_nowD(), 3);
        // Ticked and enabled, "&Delete source files" draws its check mark and dark text too.
        ::SendMessageW(form.copyC(), BM_SETCHECK, BST_CHECKED, 0);
        form.copyC_Click();
        ::SendMessageW(form.deleteC(), BM_SETCHECK, BST_CHECKED, 0);
        ExpectCaptionWhole(form.deleteC(), 0);
        ::SendMessageW(form.deleteC(), BM_SETCHECK, BST_UNCHECKED, 0);
        ::SendMessageW(form.copyC(), BM_SETCHECK, BST_UNCHECKED, 0);
        form.copyC_Click();
    }
}

TEST_F(FormDpiTest, TheAboutBoxFollowsItsDpiAndKeepsItsCaptionsWhole) {
    AboutF& about = form.About();
    ASSERT_TRUE(about.Load());
    const int to = about.Dpi() * 3 / 2;
    const RECT close = PlaceOf(about.CloseButton());
    RECT outer{};
    ::GetWindowRect(about.Hwnd(), &outer);
    const RECT suggested = Scaled(outer, to, about.Dpi());
    SendDpiChanged(about.Hwnd(), to, suggested);
    RECT now{};
    ::GetWindowRect(about.Hwnd(), &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested));
    const RECT scaled = PlaceOf(about.CloseButton());
    EXPECT_NEAR(scaled.left, close.left * 1.5, 1);
    EXPECT_NEAR(scaled.top, close.top * 1.5, 1);
    EXPECT_NEAR(scaled.bottom - scaled.top, (close.bottom - close.top) * 1.5, 1);
    EXPECT_NEAR(ControlFontHeight(about.CloseButton()), ::MulDiv(-825, to, 7200), 0);
    HICON picture = reinterpret_cast<HICON>(::SendMessageW(about.Picture(), STM_GETICON, 0, 0));
    EXPECT_EQ(IconWidth(picture), ScaleForDpi(32, to));
    for (HWND button : {about.CloseButton(), about.HomePageButton(), about.DonationsButton()})
        ExpectCaptionWhole(button, 3);
    ::DestroyWindow(about.Hwnd());
}

}  // namespace
}  // namespace ferryl
