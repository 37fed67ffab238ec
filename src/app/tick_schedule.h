// Keeps a periodic timer on time. A system timer fires on the clock's coarse grid (15.6 ms on
// Windows), so a plain 80 ms timer ticks about every 94 ms and a long script drifts. Instead,
// tick n is due n intervals after the start, and the timer is re-armed for the next due time:
// every tick lands within one timer quantum of its nominal time and errors never add up.
#pragma once

#include <chrono>
#include <cstdint>

namespace app {

class TickSchedule {
public:
    using Clock = std::chrono::steady_clock;

    TickSchedule(Clock::time_point start, std::chrono::milliseconds interval)
        : start_(start), interval_(interval) {}

    // The platform timer fired at `now`: true when the next tick is due (and counts it).
    bool TakeTick(Clock::time_point now) {
        if (now < DueTime(delivered_ + 1)) return false;
        ++delivered_;
        return true;
    }

    // How long to arm the platform timer for, so that it fires when the next tick is due.
    std::chrono::milliseconds DelayUntilNext(Clock::time_point now) const {
        const auto remaining = DueTime(delivered_ + 1) - now;
        if (remaining <= Clock::duration::zero()) return std::chrono::milliseconds{0};
        // Round up: a timer armed a fraction too short would fire before the tick is due.
        return std::chrono::ceil<std::chrono::milliseconds>(remaining);
    }

    std::int64_t Delivered() const { return delivered_; }
    Clock::time_point DueTime(std::int64_t tick) const { return start_ + tick * interval_; }

private:
    Clock::time_point start_;
    std::chrono::milliseconds interval_;
    std::int64_t delivered_ = 0;
};

} // namespace app
