// The order the grid's shell sort decides, apart from the cells it compares.

#include "core/sort_shell_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace ferryl {
namespace {

TEST(SortGap, FollowsTheThreeHPlusOneSequenceBelowTheCount) {
    EXPECT_EQ(InitialGap(0), 1u);
    EXPECT_EQ(InitialGap(1), 1u);
    EXPECT_EQ(InitialGap(4), 1u);
    EXPECT_EQ(InitialGap(5), 4u);
    EXPECT_EQ(InitialGap(13), 4u);
    EXPECT_EQ(InitialGap(14), 13u);
    EXPECT_EQ(InitialGap(40), 13u);
    EXPECT_EQ(InitialGap(41), 40u);
    EXPECT_EQ(InitialGap(122), 121u);
}

TEST(ShellSortOrder, SortsAnyTableAndMovesEachRowOnce) {
    std::mt19937 random(7);
    for (std::size_t count : {0u, 1u, 2u, 3u, 5u, 14u, 200u}) {
        std::vector<std::wstring> table{L"(sentinel)"};
        for (std::size_t i = 0; i < count; ++i)
            table.push_back(std::to_wstring(random() % 50));
        const auto order = ShellSortOrder(
            count, [&](std::size_t placed, std::size_t standing) { return table[placed] > table[standing]; });
        std::vector<std::wstring> sorted;
        sorted.reserve(table.size());
        MoveInOrder(table, order, sorted);
        ASSERT_EQ(sorted.size(), count + 1);
        EXPECT_EQ(sorted[0], L"(sentinel)");
        EXPECT_TRUE(std::is_sorted(sorted.begin() + 1, sorted.end())) << count << " rows";
    }
}

TEST(ShellSortOrder, EqualRowsSwapAsAPairAndKeepTheirOrderFromThreeOn) {
    const auto allEqual = [](std::size_t, std::size_t) { return true; };
    EXPECT_EQ(ShellSortOrder(2, allEqual), (std::vector<std::size_t>{0, 2, 1}));
    EXPECT_EQ(ShellSortOrder(3, allEqual), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(ShellSortOrder(6, allEqual), (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6}));
}

}  // namespace
}  // namespace ferryl
