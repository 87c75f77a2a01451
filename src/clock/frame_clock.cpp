#include "clock/frame_clock.h"

#include "platform/platform.h"

bool FrameClockHurry = false;

namespace {
// The frame's start on the finer clock: frames are timed on it, so that none
// is shorter than its wait by the fraction of a tick it started in.
uint64_t FrameStartTime = 0;
}  // namespace

uint32_t StartFrameClock() {
    // The tick first: then the finer reading is no earlier, and a wait of n
    // milliseconds from it is at least n ticks from this one.
    const uint32_t tick = platform::TickCount();
    FrameStartTime = platform::PreciseTime();
    return tick;
}

void WaitFrameClock(uint32_t ms) {
    // The finer clock does not wrap, so neither does the wait when the tick
    // count does. A late frame does not catch up: its wait returns at once.
    // A close request ends the wait, so a fade in progress does not hold the
    // exit.
    platform::WaitUntil(FrameClockHurry ? FrameStartTime : FrameStartTime + uint64_t{ms} * 1000);
}
