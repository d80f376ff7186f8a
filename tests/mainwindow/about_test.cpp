#include "mainwindow/about_form.h"

#include <gtest/gtest.h>

#include "common/unique_handle.h"
#include "support/messages.h"

namespace ferryl::test {
namespace {

TEST(AboutF, ShowsModallyOverItsOwnerAndStaysLoadedWhenClosed) {
    AboutF about;
    {
        // Destroyed at the end of this block, before the box.
        const Unique<NullInvalidTraits<HWND, &::DestroyWindow>> owner(
            ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 600, 400, nullptr,
                              nullptr, nullptr, nullptr));
        RECT ownerRect{};
        ::GetWindowRect(owner.get(), &ownerRect);
        bool ownerDisabledWhileShown = false, ownerBack = false;
        {
            DialogDriver shown(
                L"About Ferryl Handler",
                [&](HWND) {
                    ownerDisabledWhileShown = !::IsWindowEnabled(owner.get());
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
        EXPECT_TRUE(ownerBack) << "the modal loop ended with the click";
        ASSERT_TRUE(::IsWindow(about.Hwnd()));
        EXPECT_FALSE(::IsWindowVisible(about.Hwnd()));
    }
    EXPECT_TRUE(::IsWindow(about.Hwnd())) << "it outlives the window that showed it";
}

}  // namespace
}  // namespace ferryl::test
