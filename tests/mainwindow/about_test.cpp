#include "mainwindow/about_form.h"

#include <gtest/gtest.h>

#include "common/twips.h"
#include "support/messages.h"
#include "version.h"
#include "winsvc/window.h"

namespace ferryl {
namespace {

class OwnerWindow : public Window {
  public:
    OwnerWindow() {
        RegisterWindowClass(L"FerrylTestOwner");
        CreateHandle(L"FerrylTestOwner", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 50, 50, 600, 400);
    }
};

// Runs the action from inside the modal loop, once the box is up. A box that does not show, or
// that the action leaves up, fails the test after the timeout and is hidden, which ends the modal
// loop instead of hanging the run.
class WhenShown {
  public:
    WhenShown(AboutF& about, std::function<void()> action, DWORD timeoutMs = 10000)
        : m_box(about), m_action(std::move(action)), m_deadline(::GetTickCount() + timeoutMs) {
        if (s_current)  // the one before is done with
            ::KillTimer(nullptr, s_current->m_timer);
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { s_current->Tick(); });
    }
    ~WhenShown() {
        ::KillTimer(nullptr, m_timer);
        if (s_current == this)
            s_current = nullptr;
    }

  private:
    void Tick() {
        const bool shown = m_box.Hwnd() && ::IsWindowVisible(m_box.Hwnd());
        if (shown && !m_done) {
            m_done = true;
            m_action();
        } else if (shown && static_cast<LONG>(::GetTickCount() - m_deadline) > 0) {
            ADD_FAILURE() << "the About box is still up";
            ::ShowWindow(m_box.Hwnd(), SW_HIDE);
        } else if (!m_done && static_cast<LONG>(::GetTickCount() - m_deadline) > 0) {
            ADD_FAILURE() << "the About box did not show";
            ::KillTimer(nullptr, m_timer);
        }
    }

    static inline WhenShown* s_current = nullptr;
    AboutF& m_box;
    std::function<void()> m_action;
    DWORD m_deadline;
    UINT_PTR m_timer = 0;
    bool m_done = false;
};

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
    // The version the build gave the program, read back from its version resource; no build number.
    EXPECT_EQ(about.LabelText(), L"Ferryl Handler\r\nVersion: " + std::to_wstring(FERRYL_VERSION_MAJOR) + L"." +
                                     std::to_wstring(FERRYL_VERSION_MINOR) + L"." +
                                     std::to_wstring(FERRYL_VERSION_REVISION) + L"\r\n");
}

TEST(AboutF, CloseHidesTheBoxWhichKeepsItsTextAndReenablesTheOwner) {
    OwnerWindow owner;
    AboutF about;
    RECT ownerRect{};
    ::GetWindowRect(owner.Hwnd(), &ownerRect);
    bool ownerDisabledWhileShown = false;
    WhenShown shown(about, [&] {
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
    WhenShown again(about, [&] { ::PostMessageW(about.CloseButton(), WM_KEYDOWN, VK_RETURN, 0); });
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
    WhenShown shown(about, [&] {
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
        WhenShown shown(about, [&] { ::PostMessageW(about.Hwnd(), WM_COMMAND, IDCANCEL, 0); });
        about.ShowModal(owner.Hwnd(), POINT{0, 0});
    }
    EXPECT_TRUE(::IsWindow(about.Hwnd()));
}

}  // namespace
}  // namespace ferryl
