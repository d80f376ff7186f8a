#pragma once
// A callback timer: a CTimer raises ThatTime every Interval milliseconds while its interval is
// above zero. MTimer owns the system timers and routes each tick to its object through one shared
// timer procedure; ticks arrive as messages on the thread that started the timer.

#include <windows.h>

#include "common/tagged_value.h"

namespace ferryl {

// The errors Interval raises, OR'ed with kObjectErrorBase.
inline constexpr long kErrTooManyTimers = 13651;
inline constexpr long kErrCantCreateTimer = 13652;

// Receives a timer's events; the owner overrides what it needs.
class CTimerEvents {
  public:
    virtual ~CTimerEvents() = default;
    virtual void ThatTime() {}
};

class CTimer {
  public:
    explicit CTimer(CTimerEvents* events = nullptr) noexcept : m_events(events) {}
    // Stops the timer, so no tick can reach a destroyed object.
    ~CTimer();
    CTimer(const CTimer&) = delete;
    CTimer& operator=(const CTimer&) = delete;

    void SetEvents(CTimerEvents* events) noexcept { m_events = events; }

    // Free data the owner keeps with the timer.
    const TaggedValue& Item() const noexcept { return m_item; }
    void Item(TaggedValue value) { m_item = std::move(value); }

    // Milliseconds between ticks; 0 when stopped.
    long Interval() const noexcept { return m_interval; }
    // A new positive value (re)starts the timer, the same value changes nothing, zero or below stops
    // it. Raises ferryl::Error when no system timer can be had or the timer table is full; the timer
    // is stopped then.
    void Interval(long value);

    // Raises ThatTime; the shared timer procedure calls it on each tick.
    void PulseTimer();

    // The system timer's identifier (0 when none); kept by MTimer.
    UINT_PTR TimerID() const noexcept { return m_timerId; }
    void TimerID(UINT_PTR id) noexcept { m_timerId = id; }

  private:
    CTimerEvents* m_events;
    TaggedValue m_item;
    long m_interval = 0;
    UINT_PTR m_timerId = 0;
};

namespace MTimer {

inline constexpr int kSlots = 100;

// Starts the system timer and enters the timer in the first free slot. False when the system gives
// no timer; raises the too-many-timers error (with the system timer stopped) when no slot is free.
bool StartTimer(CTimer& timer);

// Stops the system timer and empties its slot; false when the timer was not in the table.
bool StopTimer(CTimer& timer) noexcept;

// The slot (1 to kSlots) holding the timer, 0 when it holds none.
int SlotOf(const CTimer& timer) noexcept;

}  // namespace MTimer

}  // namespace ferryl
