#include "winsvc/timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/error.h"
#include "support/messages.h"

namespace ferryl {
namespace {

struct Counter : CTimerEvents {
    void ThatTime() override { ++ticks; }
    int ticks = 0;
};

TEST(Timer, EachTickReachesItsOwnTimerUntilStoppedAndAFullTableStartsNone) {
    Counter slowCount, fastCount;
    CTimer slow(&slowCount), fast(&fastCount);
    slow.Interval(60000);
    fast.Interval(10);
    ASSERT_TRUE(test::PumpUntil([&] { return fastCount.ticks >= 3; }, 3000));
    EXPECT_EQ(slowCount.ticks, 0);
    // Stopped at zero or below: by the time the other, restarted at three times its interval, has
    // ticked twice, a timer still running would have ticked again, however slow the machine.
    fast.Interval(-5);
    test::PumpMessages();
    const int stoppedAt = fastCount.ticks;
    slow.Interval(30);
    EXPECT_TRUE(test::PumpUntil([&] { return slowCount.ticks >= 2; }, 5000));
    EXPECT_EQ(fastCount.ticks, stoppedAt);

    // Every slot taken: the next start raises and leaves its timer stopped.
    std::vector<std::unique_ptr<CTimer>> timers(MTimer::kSlots - 1);
    for (auto& timer : timers)
        (timer = std::make_unique<CTimer>())->Interval(60000);
    EXPECT_THROW(fast.Interval(5), Error);
    EXPECT_EQ(fast.TimerID() + static_cast<UINT_PTR>(fast.Interval()), 0u);
    timers.pop_back();
    fast.Interval(5);
    EXPECT_TRUE(test::PumpUntil([&] { return fastCount.ticks > stoppedAt; }, 3000)) << "a slot was free again";
}

}  // namespace
}  // namespace ferryl
