#include "mainwindow/about_form.h"

#include <gtest/gtest.h>

#include "common/twips.h"
#include "mainwindow/version_info.h"
#include "support/messages.h"
#include "version.h"
#include "winsvc/window.h"

namespace ferryl {
namespace {

TEST(AboutText, VersionComesFromTheVersionResource) {
    auto version = ReadModuleVersion();
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->major, static_cast<unsigned>(FERRYL_VERSION_MAJOR));
    EXPECT_EQ(version->minor, static_cast<unsigned>(FERRYL_VERSION_MINOR));
    EXPECT_EQ(version->revision, static_cast<unsigned>(FERRYL_VERSION_REVISION));
}

class OwnerWindow : public Window {
  public:
    OwnerWindow() {
        RegisterWindowClass(L"FerrylTestOwner");
        CreateHandle(L"FerrylTestOwner", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 50, 50, 600, 400);
    }
};

// Runs the action from inside the modal loop, once the box is up.
void WhenShown(AboutF& about, std::function<void()> action) {
    static std::function<void()> pending;
    static AboutF* box = nullptr;
    pending = std::move(action);
    box = &about;
    ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        if (box->Hwnd() && ::IsWindowVisible(box->Hwnd())) {
            ::KillTimer(nullptr, id);
            pending();
        }
    });
}

TEST(AboutF, IsACaptionlessBoxOfTheDesignedSize) {
    AboutF about;
    ASSERT_TRUE(about.Load());
    LONG style = ::GetWindowLongW(about.Hwnd(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_BORDER);  // a border, but no title bar
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_FALSE(::IsWindowVisible(about.Hwnd()));
    RECT client{};
    ::GetClientRect(about.Hwnd(), &client);
    EXPECT_EQ(client.right, TwipsToPixelsX(7185));
    EXPECT_EQ(client.bottom, TwipsToPixelsY(2790));
    EXPECT_EQ(about.LabelText(), AboutText(*ReadModuleVersion()));
}

TEST(AboutF, CloseHidesTheBoxWhichKeepsItsTextAndReenablesTheOwner) {
    OwnerWindow owner;
    AboutF about;
    RECT ownerRect{};
    ::GetWindowRect(owner.Hwnd(), &ownerRect);
    bool ownerDisabledWhileShown = false;
    WhenShown(about, [&] {
        ownerDisabledWhileShown = !::IsWindowEnabled(owner.Hwnd());
        ::SendMessageW(about.CloseButton(), BM_CLICK, 0, 0);
    });
    about.ShowModal(owner.Hwnd(), POINT{ownerRect.left, ownerRect.top});
    EXPECT_TRUE(ownerDisabledWhileShown);
    EXPECT_TRUE(::IsWindowEnabled(owner.Hwnd()));
    ASSERT_TRUE(::IsWindow(about.Hwnd()));
    EXPECT_FALSE(::IsWindowVisible(about.Hwnd()));
    RECT aboutRect{};
    ::GetWindowRect(about.Hwnd(), &aboutRect);
    EXPECT_EQ(aboutRect.left, ownerRect.left);
    EXPECT_EQ(aboutRect.top, ownerRect.top);

    // The second time: the same box, the same text; Enter presses the default button.
    HWND first = about.Hwnd();
    std::wstring text = about.LabelText();
    WhenShown(about, [&] { ::PostMessageW(about.CloseButton(), WM_KEYDOWN, VK_RETURN, 0); });
    about.ShowModal(owner.Hwnd(), POINT{ownerRect.left, ownerRect.top});
    EXPECT_EQ(about.Hwnd(), first);
    EXPECT_EQ(about.LabelText(), text);
    EXPECT_FALSE(::IsWindowVisible(about.Hwnd()));
}

// What the screen shows at a point of the box, in its client coordinates.
COLORREF ShownAt(HWND box, POINT point) {
    HDC dc = ::GetDC(box);
    COLORREF color = ::GetPixel(dc, point.x, point.y);
    ::ReleaseDC(box, dc);
    return color;
}

// A point on a button's face, inside its edge and clear of its centred caption, in the button's
// coordinates.
POINT FaceOf(HWND button) {
    RECT r{};
    ::GetClientRect(button, &r);
    return POINT{5, r.bottom / 2};
}

// Whether the screen shows the button's own drawing at that point (and not whatever covers it).
bool ShowsItself(HWND button, POINT point) {
    RECT r{};
    ::GetClientRect(button, &r);
    HDC screen = ::GetDC(button);
    UniqueMemoryDC dc(::CreateCompatibleDC(screen));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, r.right, r.bottom));
    const COLORREF shown = ::GetPixel(screen, point.x, point.y);
    ::ReleaseDC(button, screen);
    SelectGuard select(dc.get(), bitmap.get());
    ::SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
    return ::GetPixel(dc.get(), point.x, point.y) == shown;
}

TEST(AboutF, TheWebButtonsShowInsideTheirFrame) {
    OwnerWindow owner;
    AboutF about;
    bool homePage = false, donations = false;
    COLORREF betweenThem = 0;
    WhenShown(about, [&] {
        ::UpdateWindow(about.Hwnd());
        test::PumpMessages();
        homePage = ShowsItself(about.HomePageButton(), FaceOf(about.HomePageButton()));
        donations = ShowsItself(about.DonationsButton(), FaceOf(about.DonationsButton()));
        RECT first{}, second{};
        ::GetWindowRect(about.HomePageButton(), &first);
        ::GetWindowRect(about.DonationsButton(), &second);
        POINT gap{first.left + 2, (first.bottom + second.top) / 2};
        ::ScreenToClient(about.Hwnd(), &gap);
        betweenThem = ShownAt(about.Hwnd(), gap);
        ::SendMessageW(about.CloseButton(), BM_CLICK, 0, 0);
    });
    about.ShowModal(owner.Hwnd(), POINT{0, 0});
    // Neither the frame above them nor an unpainted inside hides the buttons.
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(betweenThem, face) << "the frame's inside is painted";
    EXPECT_TRUE(homePage);
    EXPECT_TRUE(donations);
}

TEST(AboutF, OutlivesTheWindowThatShowedIt) {
    AboutF about;
    {
        OwnerWindow owner;
        WhenShown(about, [&] { ::PostMessageW(about.Hwnd(), WM_COMMAND, IDCANCEL, 0); });
        about.ShowModal(owner.Hwnd(), POINT{0, 0});
    }
    EXPECT_TRUE(::IsWindow(about.Hwnd()));
}

}  // namespace
}  // namespace ferryl
