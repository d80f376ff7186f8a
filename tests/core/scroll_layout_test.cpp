// Scroll ranges: the arithmetic at its one-pixel edges.

#include "core/scroll_layout.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

TEST(ScrollLayout, OnePixelMoreThanTheRoomShowsABarAndTakesItsThickness) {
    ScrollLayoutInput in{300, 200, 300, 100, 16, 16};
    ScrollLayout fits = ComputeScrollLayout(in);
    EXPECT_FALSE(fits.needH);
    EXPECT_FALSE(fits.needV);
    in.totalWidth = 301;
    ScrollLayout wide = ComputeScrollLayout(in);
    EXPECT_TRUE(wide.needH);
    EXPECT_FALSE(wide.needV);
    EXPECT_EQ(wide.visibleHeight, 184);
    EXPECT_EQ(wide.maxH, 1);
    EXPECT_EQ(wide.largeH, 1);
    in.totalHeight = 184;
    EXPECT_FALSE(ComputeScrollLayout(in).needV) << "the rows just fit above the horizontal bar";
    // The horizontal bar's thickness makes the rows, which just fitted, need the vertical one too.
    in.totalHeight = 190;
    ScrollLayout both = ComputeScrollLayout(in);
    EXPECT_TRUE(both.needV);
    EXPECT_EQ(both.visibleWidth, 284);
    EXPECT_EQ(both.maxH, 301 - 284);
    EXPECT_EQ(both.maxV, 190 - 184);
    EXPECT_EQ(PageStep(1000, 300), 233);  // 700 / (700 / 300 + 1)
    EXPECT_EQ(PageStep(300, 300), 0);
    EXPECT_EQ(PageStep(300, 0), 0) << "no room, no page";
}

}  // namespace
}  // namespace ferryl
