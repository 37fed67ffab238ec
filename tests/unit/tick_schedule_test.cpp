// The console's timer against a system timer that always fires late, as Windows' does on its
// 15.6 ms clock grid: the script must stay on time.
#include "app/tick_schedule.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace std::chrono;
using Clock = app::TickSchedule::Clock;

inline constexpr milliseconds kInterval{80};
inline constexpr milliseconds kQuantum{16};
// Timers are armed in whole milliseconds, rounded up so that they never fire before a tick is due.
inline constexpr milliseconds kResolution{1};

struct TimerRun {
    std::vector<Clock::duration> tickTimes; // when each delivered tick ran, from the start
};

// Simulates the platform: after each arming, the timer fires `delay` plus some lateness later.
template <typename Lateness>
TimerRun Simulate(int ticks, Lateness lateness) {
    const Clock::time_point start{};
    app::TickSchedule schedule(start, kInterval);
    Clock::time_point now = start;
    TimerRun run;
    auto delay = schedule.DelayUntilNext(now);
    while (static_cast<int>(run.tickTimes.size()) < ticks) {
        now += delay + lateness();
        if (schedule.TakeTick(now)) run.tickTimes.push_back(now - start);
        delay = schedule.DelayUntilNext(now);
    }
    return run;
}

void ExpectOnTime(const TimerRun& run) {
    for (std::size_t i = 0; i < run.tickTimes.size(); ++i) {
        const auto nominal = kInterval * static_cast<int>(i + 1);
        ASSERT_GE(run.tickTimes[i], nominal) << "tick " << i + 1 << " ran early";
        ASSERT_LE(run.tickTimes[i], nominal + kQuantum + kResolution)
            << "tick " << i + 1 << " is more than a quantum late";
    }
}

TEST(TickSchedule, ATimerAlwaysLateByUpToAQuantumKeepsEveryTickWithinAQuantum) {
    // A plain periodic timer always 16 ms late would have drifted by 201 x 16 ms = 3.2 s by the finale.
    ExpectOnTime(Simulate(201, [] { return kQuantum; }));
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> microseconds(0, 16000);
    ExpectOnTime(Simulate(201, [&] { return std::chrono::microseconds(microseconds(random)); }));
}

TEST(TickSchedule, ATimerFiringEarlyIsReArmedAndDeliversNothing) {
    const Clock::time_point start{};
    app::TickSchedule schedule(start, kInterval);
    EXPECT_FALSE(schedule.TakeTick(start + milliseconds(79)));
    EXPECT_EQ(schedule.DelayUntilNext(start + milliseconds(79)), milliseconds(1));
    EXPECT_TRUE(schedule.TakeTick(start + milliseconds(80)));
    EXPECT_EQ(schedule.Delivered(), 1);
    EXPECT_EQ(schedule.DelayUntilNext(start + milliseconds(95)), milliseconds(65));
}

TEST(TickSchedule, ALongHandlerDelaysOneTickWithoutShiftingTheRest) {
    // Tick 5 runs a handler that takes 300 ms (say, a message box closed at once); the
    // following ticks catch up one by one, each delivered as soon as it is due.
    const Clock::time_point start{};
    app::TickSchedule schedule(start, kInterval);
    Clock::time_point now = start;
    for (int i = 1; i <= 5; ++i) {
        now = start + kInterval * i;
        ASSERT_TRUE(schedule.TakeTick(now));
    }
    now += milliseconds(300);
    EXPECT_EQ(schedule.DelayUntilNext(now), milliseconds(0));
    EXPECT_TRUE(schedule.TakeTick(now));
    EXPECT_EQ(schedule.DueTime(10) - start, milliseconds(800));
}

} // namespace
