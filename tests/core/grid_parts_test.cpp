// The parts the grid's model is made of: the gap vector its rows live in, the list of rows holding a
// selected cell, the order the shell sort decides, and the scroll ranges.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/gap_vector.h"
#include "core/scroll_layout.h"
#include "core/selected_rows.h"
#include "core/sort_shell_order.h"

namespace ferryl {
namespace {

template <typename T>
std::vector<T> Contents(const GapVector<T>& gap) {
    return std::vector<T>(gap.begin(), gap.end());
}

TEST(GapVector, EditsAnywhereMatchAPlainVector) {
    std::mt19937 random(7);
    GapVector<std::wstring> gap;
    std::vector<std::wstring> plain;
    for (int step = 0; step < 5000; ++step) {
        int action = static_cast<int>(random() % 6);
        std::wstring value = std::to_wstring(step);
        size_t at = plain.empty() ? 0 : random() % (plain.size() + 1);
        if (action <= 1) {
            gap.insert(at, value);
            plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(at), value);
        } else if (action == 2) {
            gap.push_back(value);
            plain.push_back(value);
        } else if (action == 3 && !plain.empty()) {
            at = random() % plain.size();
            gap.erase(at);
            plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(at));
        } else if (action == 4 && !plain.empty()) {
            // Runs of edits at one place, where the gap pays off.
            at = random() % plain.size();
            for (int k = 0; k < 5 && at < plain.size(); ++k) {
                gap.erase(at);
                plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(at));
            }
        } else if (action == 5 && step % 50 == 0) {
            size_t size = random() % (plain.size() + 3);
            gap.resize(size);
            plain.resize(size);
        }
        ASSERT_EQ(gap.size(), plain.size()) << "step " << step;
        if (step % 97 == 0) {
            ASSERT_EQ(Contents(gap), plain) << "step " << step;
        }
    }
    EXPECT_EQ(Contents(gap), plain);
}

TEST(GapVector, SwapsClearsAndLetsAnErasedElementGoAtOnce) {
    GapVector<std::wstring> gap{L"a", L"b"}, other(2, L"q");
    gap.erase(0);
    EXPECT_EQ(gap.back() + gap[0], L"bb");
    other.swap(gap);
    EXPECT_EQ(Contents(gap), (std::vector<std::wstring>{L"q", L"q"}));
    EXPECT_EQ(Contents(other), (std::vector<std::wstring>{L"b"}));
    gap.clear();
    EXPECT_TRUE(gap.empty());
    const auto held = std::make_shared<int>(1);
    GapVector<std::shared_ptr<int>> owners;
    owners.push_back(held);
    owners.push_back(nullptr);
    owners.erase(0);
    EXPECT_EQ(held.use_count(), 1) << "not kept in the gap";
}

// (How the listed rows follow inserts, removals and cuts shows in the grid model's tests.)
TEST(SelectedRows, AfterAReorderEveryRowThatHoldsASelectionIsListedTheLastOneToo) {
    SelectedRows rows;
    rows.Add(3);
    const bool selected[] = {false, true, false, false, true};  // rows 1..5
    rows.Rebuild(5, [&](long row) { return selected[row - 1]; });
    EXPECT_EQ(rows.Take(), (std::vector<long>{2, 5}));
    EXPECT_TRUE(rows.Rows().empty()) << "taken rows are forgotten";
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
    // A row is its key times 1000 plus its number: few keys, so equal keys are common; up to three
    // rows all keys are equal (two swap, three keep their order).
    bool (*const orders[])(int, int) = {[](int b, int a) { return b / 1000 >= a / 1000; },
                                        [](int b, int a) { return b / 1000 <= a / 1000; }};
    std::mt19937 random(20240305);
    for (std::size_t count = 0; count <= 122; ++count) {  // up to the gap of 121
        for (auto inOrder : orders) {
            std::vector<int> rows{0};
            for (std::size_t r = 1; r <= count; ++r)
                rows.push_back(static_cast<int>(count > 3 ? random() % 4 : 0) * 1000 + static_cast<int>(r));
            const auto order = ShellSortOrder(
                count, [&](std::size_t placed, std::size_t standing) { return inOrder(rows[placed], rows[standing]); });
            std::vector<int> sorted;
            sorted.reserve(rows.size());
            MoveInOrder(rows, order, sorted);
            ASSERT_EQ(sorted, RowMovingShellSort(rows, inOrder)) << count << " rows";
        }
    }
}

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
