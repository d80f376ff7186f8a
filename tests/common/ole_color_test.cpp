#include "common/ole_color.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

TEST(OleColor, SystemColoursAreLookedUpPlainColoursPassThrough) {
    EXPECT_EQ(TranslateColor(SystemColor(COLOR_BTNFACE)), static_cast<long>(::GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(TranslateColor(0x8000000D), static_cast<long>(::GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_EQ(TranslateColor(RGB(1, 2, 3)), static_cast<long>(RGB(1, 2, 3)));
    EXPECT_EQ(TranslateColor(0), 0);
}

TEST(OleColor, TheDefaultMarkerAndUnknownColoursDoNotTranslate) {
    EXPECT_EQ(TranslateColor(kDefaultColor), -1);
    EXPECT_EQ(TranslateColor(SystemColor(0xFF)), -1);
    EXPECT_TRUE(IsSystemColor(SystemColor(5)));
    EXPECT_FALSE(IsSystemColor(kDefaultColor));
    EXPECT_FALSE(IsSystemColor(RGB(255, 255, 255)));
}

}  // namespace
}  // namespace ferryl
