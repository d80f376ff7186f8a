#include "winsvc/timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/error.h"
#include "support/messages.h"

namespace ferryl {
namespace {

class Counter : public CTimerEvents {
  public:
    void ThatTime() override { ++ticks; }
    int ticks = 0;
};

// Pumps messages until a thread timer of `ms` started now has ticked twice: by then a timer of a
// shorter interval that still ran has ticked too, however slow the machine.
void PumpWhileATimerTicksTwice(UINT ms) {
    static int ticks;
    ticks = 0;
    const UINT_PTR id = ::SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(test::PumpUntil([] { return ticks >= 2; }, 5000));
    ::KillTimer(nullptr, id);
}

TEST(Timer, TicksWhileRunningAndStopsAtZeroOrBelow) {
    Counter counter;
    CTimer timer(&counter);
    timer.Interval(0);  // stopped stays stopped
    EXPECT_EQ(timer.TimerID(), 0u);

    timer.Interval(10);
    EXPECT_EQ(timer.Interval(), 10);
    ASSERT_NE(timer.TimerID(), 0u);
    EXPECT_TRUE(test::PumpUntil([&] { return counter.ticks >= 3; }, 3000));

    timer.Interval(-5);
    EXPECT_EQ(timer.Interval(), 0);
    EXPECT_EQ(MTimer::SlotOf(timer), 0);
    test::PumpMessages();
    const int stoppedAt = counter.ticks;
    PumpWhileATimerTicksTwice(30);
    EXPECT_EQ(counter.ticks, stoppedAt);
}

TEST(Timer, StoppedSlotIsReusedAndEachTickReachesItsOwnTimer) {
    Counter firstCount;
    Counter secondCount;
    CTimer first(&firstCount);
    CTimer second(&secondCount);
    first.Interval(1000);
    second.Interval(10);
    EXPECT_EQ(MTimer::SlotOf(first), 1);
    EXPECT_EQ(MTimer::SlotOf(second), 2);
    EXPECT_TRUE(test::PumpUntil([&] { return secondCount.ticks >= 2; }, 3000));
    EXPECT_EQ(firstCount.ticks, 0);

    first.Interval(0);
    CTimer third;
    third.Interval(20);
    EXPECT_EQ(MTimer::SlotOf(third), 1);
}

TEST(Timer, FullTableRaisesAndLeavesNoTimerRunning) {
    std::vector<std::unique_ptr<CTimer>> timers;
    for (int i = 0; i < MTimer::kSlots; ++i) {
        timers.push_back(std::make_unique<CTimer>());
        timers.back()->Interval(60000);
    }
    Counter counter;
    CTimer extra(&counter);
    try {
        extra.Interval(5);
        ADD_FAILURE() << "no error raised";
    } catch (const Error& error) {
        EXPECT_EQ(error.Number(), static_cast<long>(0x80043553));
        EXPECT_EQ(error.Source(), ErrorSource(L"WindowProc"));
        EXPECT_EQ(error.Description(), L"No more than 10 timers allowed per class");
    }
    EXPECT_EQ(extra.Interval(), 0);
    EXPECT_EQ(extra.TimerID(), 0u);
    PumpWhileATimerTicksTwice(20);
    EXPECT_EQ(counter.ticks, 0);

    // Once a slot is free again the same object starts normally.
    timers.pop_back();
    extra.Interval(5);
    EXPECT_EQ(MTimer::SlotOf(extra), MTimer::kSlots);
    EXPECT_TRUE(test::PumpUntil([&] { return counter.ticks >= 1; }, 3000));
}

}  // namespace
}  // namespace ferryl
