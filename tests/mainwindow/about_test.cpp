#include "mainwindow/about_form.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/messages.h"
#include "winsvc/window.h"

namespace ferryl::test {
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
    WhenShown(AboutF& about, std::function<void()> action)
        : m_box(about), m_action(std::move(action)), m_deadline(::GetTickCount() + 10000) {
        if (s_current)  // the one before is done with
            ::KillTimer(nullptr, s_current->m_timer);
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { s_current->Tick(); });
    }
    ~WhenShown() {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }

  private:
    void Tick() {
        const bool shown = m_box.Hwnd() && ::IsWindowVisible(m_box.Hwnd());
        const bool late = static_cast<LONG>(::GetTickCount() - m_deadline) > 0;
        if (shown && !m_done) {
            m_done = true;
            m_action();
        } else if (late) {
            ADD_FAILURE() << (shown ? "the About box is still up" : "the About box did not show");
            ::KillTimer(nullptr, m_timer);
            if (shown)
                ::ShowWindow(m_box.Hwnd(), SW_HIDE);
        }
    }

    static inline WhenShown* s_current = nullptr;
    AboutF& m_box;
    std::function<void()> m_action;
    DWORD m_deadline;
    UINT_PTR m_timer = 0;
    bool m_done = false;
};

// Whether the screen shows the button's own drawing at a point of its face, left of its centred
// caption (and not whatever might cover it).
bool ShowsItself(HWND button) {
    RECT r{};
    ::GetClientRect(button, &r);
    const POINT face{5, r.bottom / 2};
    WindowDC screen(button);
    UniqueMemoryDC dc(::CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), r.right, r.bottom));
    SelectGuard select(dc.get(), bitmap.get());
    ::SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
    return ::GetPixel(dc.get(), face.x, face.y) == ::GetPixel(screen.get(), face.x, face.y);
}

TEST(AboutF, ShowsAtItsOwnersCornerWithItsButtonsAndStaysLoadedWhenClosed) {
    AboutF about;
    {
        OwnerWindow owner;
        RECT ownerRect{};
        ::GetWindowRect(owner.Hwnd(), &ownerRect);
        bool ownerDisabledWhileShown = false, homePage = false, donations = false;
        COLORREF betweenButtons = 0;
        WhenShown shown(about, [&] {
            ownerDisabledWhileShown = !::IsWindowEnabled(owner.Hwnd());
            ::UpdateWindow(about.Hwnd());
            PumpMessages();
            // Neither the frame above the web buttons nor an unpainted inside hides them.
            homePage = ShowsItself(about.HomePageButton());
            donations = ShowsItself(about.DonationsButton());
            RECT first{}, second{};
            ::GetWindowRect(about.HomePageButton(), &first);
            ::GetWindowRect(about.DonationsButton(), &second);
            POINT gap{first.left + 2, (first.bottom + second.top) / 2};
            ::ScreenToClient(about.Hwnd(), &gap);
            betweenButtons = ::GetPixel(WindowDC(about.Hwnd()).get(), gap.x, gap.y);
            ::SendMessageW(about.CloseButton(), BM_CLICK, 0, 0);
        });
        about.ShowModal(owner.Hwnd(), POINT{ownerRect.left, ownerRect.top});
        EXPECT_TRUE(ownerDisabledWhileShown);
        EXPECT_TRUE(homePage);
        EXPECT_TRUE(donations);
        EXPECT_EQ(betweenButtons, ::GetSysColor(COLOR_BTNFACE)) << "the frame's inside is painted";
        EXPECT_TRUE(::IsWindowEnabled(owner.Hwnd()));
        ASSERT_TRUE(::IsWindow(about.Hwnd()));
        EXPECT_FALSE(::IsWindowVisible(about.Hwnd()));
        RECT aboutRect{};
        ::GetWindowRect(about.Hwnd(), &aboutRect);
        EXPECT_EQ(aboutRect.left, ownerRect.left);
        EXPECT_EQ(aboutRect.top, ownerRect.top);

        // The second time: the same box, the same text; Enter presses the default button.
        const HWND first = about.Hwnd();
        const std::wstring text = about.LabelText();
        WhenShown again(about, [&] { ::PostMessageW(about.CloseButton(), WM_KEYDOWN, VK_RETURN, 0); });
        about.ShowModal(owner.Hwnd(), POINT{ownerRect.left, ownerRect.top});
        EXPECT_EQ(about.Hwnd(), first);
        EXPECT_EQ(about.LabelText(), text);
        EXPECT_FALSE(::IsWindowVisible(about.Hwnd()));
    }
    EXPECT_TRUE(::IsWindow(about.Hwnd())) << "it outlives the window that showed it";
}

}  // namespace
}  // namespace ferryl::test
