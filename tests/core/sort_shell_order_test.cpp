// The order the grid's shell sort decides, apart from the cells it compares.

#include "core/sort_shell_order.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace ferryl {
namespace {

TEST(ShellSortOrder, EqualRowsSwapAsAPairAndKeepTheirOrderFromThreeOn) {
    const auto allEqual = [](std::size_t, std::size_t) { return true; };
    EXPECT_EQ(ShellSortOrder(2, allEqual), (std::vector<std::size_t>{0, 2, 1}));
    EXPECT_EQ(ShellSortOrder(3, allEqual), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(ShellSortOrder(6, allEqual), (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6}));
}

// The shell sort as it is documented, moving whole rows through a one-row buffer, with the gaps of
// the 3h+1 sequence below the count.
std::vector<int> RowMovingShellSort(std::vector<int> rows, bool (*inOrder)(int placed, int standing)) {
    const std::size_t count = rows.size() - 1;
    if (count < 3) {
        if (count == 2 && inOrder(rows[1], rows[2]))
            std::swap(rows[1], rows[2]);
        return rows;
    }
    for (const std::size_t gap : {121u, 40u, 13u, 4u, 1u}) {
        if (gap >= count && gap > 1)
            continue;
        for (std::size_t i = gap + 1; i <= count; ++i) {
            const int buffer = rows[i];
            std::size_t j = i;
            for (; j > gap && !inOrder(buffer, rows[j - gap]); j -= gap)
                rows[j] = rows[j - gap];
            rows[j] = buffer;
        }
    }
    return rows;
}

// Each row moves once, into the place the row-moving sort gives it: sorted, equal keys included.
TEST(ShellSortOrder, EqualKeysEndWhereTheRowMovingSortPutsThem) {
    // A row is its key times 1000 plus its number: few keys, so equal keys are common.
    bool (*const orders[])(int, int) = {[](int b, int a) { return b / 1000 >= a / 1000; },
                                        [](int b, int a) { return b / 1000 <= a / 1000; }};
    std::mt19937 random(20240305);
    for (std::size_t count = 0; count <= 122; ++count) {  // up to the gap of 121
        for (auto inOrder : orders) {
            std::vector<int> rows{0};
            for (std::size_t r = 1; r <= count; ++r)
                rows.push_back(static_cast<int>(random() % 4) * 1000 + static_cast<int>(r));
            const auto order = ShellSortOrder(
                count, [&](std::size_t placed, std::size_t standing) { return inOrder(rows[placed], rows[standing]); });
            std::vector<int> sorted;
            sorted.reserve(rows.size());
            MoveInOrder(rows, order, sorted);
            ASSERT_EQ(sorted, RowMovingShellSort(rows, inOrder)) << count << " rows";
        }
    }
}

}  // namespace
}  // namespace ferryl
