#include "core/about_text.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

TEST(AboutText, NameVersionWithoutBuildAndAnEmptyLine) {
    EXPECT_EQ(AboutText({1, 2, 0, 1}), L"Ferryl Handler\r\nVersion: 1.2.1\r\n");
    EXPECT_EQ(AboutText({10, 0, 7, 0}), L"Ferryl Handler\r\nVersion: 10.0.0\r\n");
}

}  // namespace
}  // namespace ferryl
