#include "core/gap_vector.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

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

TEST(GapVector, EndsAndEmptiedSlots) {
    GapVector<std::wstring> gap{L"a", L"b", L"c"};
    gap.erase(0);
    gap.erase(1);
    EXPECT_EQ(Contents(gap), (std::vector<std::wstring>{L"b"}));
    EXPECT_EQ(gap.back(), L"b");
    gap.insert(0, L"x");
    gap.insert(2, L"y");  // at the end
    EXPECT_EQ(Contents(gap), (std::vector<std::wstring>{L"x", L"b", L"y"}));
    gap.erase(1);
    gap.erase(0);
    gap.erase(0);
    EXPECT_TRUE(gap.empty());
    gap.push_back(L"z");
    EXPECT_EQ(gap[0], L"z");

    GapVector<std::wstring> other(2, L"q");
    other.swap(gap);
    EXPECT_EQ(Contents(gap), (std::vector<std::wstring>{L"q", L"q"}));
    EXPECT_EQ(Contents(other), (std::vector<std::wstring>{L"z"}));
    gap.clear();
    EXPECT_EQ(gap.size(), 0u);

    // An erased element is let go at once, not kept in the gap.
    const auto held = std::make_shared<int>(1);
    GapVector<std::shared_ptr<int>> owners;
    owners.push_back(held);
    owners.push_back(nullptr);
    owners.erase(0);
    EXPECT_EQ(held.use_count(), 1);
}

}  // namespace
}  // namespace ferryl
