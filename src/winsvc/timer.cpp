#include "winsvc/timer.h"

#include <array>

#include "common/continue_on_error.h"
#include "winsvc/window_proc_error.h"

namespace ferryl {

namespace {

std::array<CTimer*, MTimer::kSlots> g_timers{};
// Highest slot ever filled (1-based); scans stop there. Never lowered.
int g_highestSlot = 0;

void CALLBACK SharedTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    // An owner's failure in ThatTime must not unwind through the system's dispatcher.
    ContinueOnError(L"CTimer.ThatTime", [&] {
        for (int slot = 0; slot < g_highestSlot; ++slot) {
            CTimer* timer = g_timers[static_cast<size_t>(slot)];
            if (timer && timer->TimerID() == id) {
                timer->PulseTimer();
                return;
            }
        }
    });
}

}  // namespace

bool MTimer::StartTimer(CTimer& timer) {
    UINT_PTR id = ::SetTimer(nullptr, 0, static_cast<UINT>(timer.Interval()), &SharedTimerProc);
    timer.TimerID(id);
    if (id == 0) {
        timer.Interval(0);
        return false;
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        if (!g_timers[static_cast<size_t>(slot)]) {
            g_timers[static_cast<size_t>(slot)] = &timer;
            if (slot + 1 > g_highestSlot)
                g_highestSlot = slot + 1;
            return true;
        }
    }
    // A system timer without a slot would tick for nobody, for ever.
    ::KillTimer(nullptr, id);
    timer.TimerID(0);
    RaiseWindowProcError(kErrTooManyTimers, L"No more than 10 timers allowed per class");
}

bool MTimer::StopTimer(CTimer& timer) noexcept {
    for (int slot = 0; slot < g_highestSlot; ++slot) {
        CTimer*& entry = g_timers[static_cast<size_t>(slot)];
        if (entry && entry->TimerID() == timer.TimerID()) {
            ::KillTimer(nullptr, timer.TimerID());
            entry = nullptr;
            return true;
        }
    }
    return false;
}

int MTimer::SlotOf(const CTimer& timer) noexcept {
    for (int slot = 0; slot < g_highestSlot; ++slot) {
        if (g_timers[static_cast<size_t>(slot)] == &timer)
            return slot + 1;
    }
    return 0;
}

CTimer::~CTimer() {
    ContinueOnError(L"CTimer.~CTimer", [&] { Interval(0); });
}

void CTimer::Interval(long value) {
    if (value >= 1) {
        if (value == m_interval)
            return;
        if (m_interval != 0)
            MTimer::StopTimer(*this);
        m_interval = value;
        bool started = false;
        try {
            started = MTimer::StartTimer(*this);
        } catch (...) {
            // Not swallowed: the interval only goes back to 0 on the way to the caller.
            m_interval = 0;
            throw;
        }
        if (!started)
            RaiseWindowProcError(kErrCantCreateTimer, L"Can't create system timer");
    } else if (m_interval > 0) {
        m_interval = 0;
        MTimer::StopTimer(*this);
        m_timerId = 0;
    }
}

void CTimer::PulseTimer() {
    if (m_events)
        m_events->ThatTime();
}

}  // namespace ferryl
