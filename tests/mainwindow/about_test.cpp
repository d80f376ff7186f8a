#include "mainwindow/about_form.h"

#include <gtest/gtest.h>

#include "common/unique_handle.h"
#include "support/messages.h"

namespace ferryl::test {
namespace {

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
        // Destroyed at the end of this block, before the box.
        const Unique<NullInvalidTraits<HWND, &::DestroyWindow>> owner(
            ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 600, 400, nullptr,
                              nullptr, nullptr, nullptr));
        RECT ownerRect{};
        ::GetWindowRect(owner.get(), &ownerRect);
        bool ownerDisabledWhileShown = false, homePage = false, donations = false, ownerBack = false;
        COLORREF betweenButtons = 0;
        {
            DialogDriver shown(
                L"About Ferryl Handler",
                [&](HWND box) {
                    ownerDisabledWhileShown = !::IsWindowEnabled(owner.get());
                    ::RedrawWindow(box, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                    // Neither the frame above the web buttons nor an unpainted inside hides them.
                    homePage = ShowsItself(about.HomePageButton());
                    donations = ShowsItself(about.DonationsButton());
                    RECT first{}, second{};
                    ::GetWindowRect(about.HomePageButton(), &first);
                    ::GetWindowRect(about.DonationsButton(), &second);
                    POINT gap{first.left + 2, (first.bottom + second.top) / 2};
                    ::ScreenToClient(about.Hwnd(), &gap);
                    betweenButtons = ::GetPixel(WindowDC(about.Hwnd()).get(), gap.x, gap.y);
                    // Sent from another thread, as a screen reader's default action sends it: the box
                    // goes, and the owner is itself again.
                    ::SendMessageW(about.CloseButton(), BM_CLICK, 0, 0);
                    ownerBack = PumpUntil([&] { return ::IsWindowEnabled(owner.get()) != FALSE; }, 5000);
                    ::PostMessageW(owner.get(), WM_NULL, 0, 0);  // ends a loop that missed the close
                },
                L"FerrylAboutF");
            about.ShowModal(owner.get(), POINT{ownerRect.left, ownerRect.top});
            EXPECT_TRUE(shown.Found());
        }
        EXPECT_TRUE(ownerDisabledWhileShown);
        EXPECT_TRUE(homePage);
        EXPECT_TRUE(donations);
        EXPECT_EQ(betweenButtons, ::GetSysColor(COLOR_BTNFACE)) << "the frame's inside is painted";
        EXPECT_TRUE(ownerBack) << "the modal loop ended with the click";
        ASSERT_TRUE(::IsWindow(about.Hwnd()));
        EXPECT_FALSE(::IsWindowVisible(about.Hwnd()));
        RECT aboutRect{};
        ::GetWindowRect(about.Hwnd(), &aboutRect);
        EXPECT_EQ(aboutRect.left, ownerRect.left);
        EXPECT_EQ(aboutRect.top, ownerRect.top);

        // The second time: the same box, the same text; Enter presses the default button.
        const HWND first = about.Hwnd();
        const std::wstring text = about.LabelText();
        DialogDriver again(
            L"About Ferryl Handler", [&](HWND) { ::PostMessageW(about.CloseButton(), WM_KEYDOWN, VK_RETURN, 0); },
            L"FerrylAboutF");
        about.ShowModal(owner.get(), POINT{ownerRect.left, ownerRect.top});
        EXPECT_TRUE(again.Found());
        EXPECT_EQ(about.Hwnd(), first);
        EXPECT_EQ(about.LabelText(), text);
        EXPECT_FALSE(::IsWindowVisible(about.Hwnd()));
    }
    EXPECT_TRUE(::IsWindow(about.Hwnd())) << "it outlives the window that showed it";
}

}  // namespace
}  // namespace ferryl::test
