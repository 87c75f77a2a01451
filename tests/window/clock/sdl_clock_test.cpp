// The frame clock on the real clock of the window backend. It must never
// return before its time, measured finer than the tick count (a wait on
// whole ticks could end up to a millisecond short), and it must sleep through
// the wait rather than wake every millisecond. Only lower bounds on time and
// counts of wake-ups are checked: a busy machine can make a wait longer,
// never shorter.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>

#include "clock/frame_clock.h"
#include "platform/platform.h"

namespace {

long WakeUps() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_nvcsw;
}

TEST(SdlFrameClock, NeverEndsShortAndSleepsThroughTheWait) {
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < 30; ++i) {
        const auto before = Clock::now();
        const uint32_t tick = StartFrameClock();
        const long wakeUps = WakeUps();
        WaitFrameClock(12);
        EXPECT_LE(WakeUps() - wakeUps, 2) << "wait " << i;
        EXPECT_GE(Clock::now() - before, std::chrono::milliseconds(12)) << "wait " << i;
        EXPECT_GE(static_cast<uint32_t>(platform::TickCount() - tick), 12u) << "wait " << i;
    }
}

TEST(SdlFrameClock, ALateFrameDoesNotWait) {
    StartFrameClock();
    platform::Sleep(20);
    const long wakeUps = WakeUps();
    WaitFrameClock(12);
    EXPECT_EQ(WakeUps() - wakeUps, 0);
}

}  // namespace
