#include "common/twips.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

TEST(Twips, ConvertAtTheGivenDpiRoundingToTheNearestPixel) {
    EXPECT_EQ(TwipsPerPixel(96), 15);
    EXPECT_EQ(TwipsPerPixel(144), 10);
    EXPECT_EQ(TwipsPerPixel(0), 15) << "no DPI is taken as the designed 96";
    EXPECT_EQ(TwipsToPixels(2880, 144), 288);
    EXPECT_EQ(TwipsToPixels(1695, 144), 170);  // 169.5
    EXPECT_EQ(PixelsToTwips(144, 144), 1440);
    EXPECT_EQ(ScaleForDpi(18, 144), 27);
    EXPECT_EQ(ScaleForDpi(16, 120), 20);
    const RECT r = TwipsRect(120, 150, 975, 255, 144);
    EXPECT_EQ(r.left, 12);
    EXPECT_EQ(r.top, 15);
    EXPECT_EQ(r.right, 12 + 98);   // 97.5
    EXPECT_EQ(r.bottom, 15 + 26);  // 25.5
}

TEST(Twips, AWindowThatIsNotThereHasTheScreensDpi) {
    EXPECT_EQ(WindowDpi(nullptr), ScreenDpi());
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    EXPECT_GT(WindowDpi(window), 0);
    ::DestroyWindow(window);
    EXPECT_EQ(WindowDpi(window), ScreenDpi());
}

}  // namespace
}  // namespace ferryl
