#include "shell/frame_clock.h"

#include "platform/platform.h"

uint32_t FrameStartTick = 0;

uint32_t StartFrameClock() {
    FrameStartTick = platform::TickCount();
    return FrameStartTick;
}

void WaitFrameClock(uint32_t ms) {
    // The unsigned difference stays right when the tick count wraps. Each pass
    // gives the processor back instead of spinning; the frame still never
    // lasts less than its wait, and a late frame does not catch up. A close
    // request ends the wait, so a fade in progress does not hold the exit.
    while (static_cast<uint32_t>(platform::TickCount() - FrameStartTick) < ms &&
           !platform::CloseRequested()) {
        platform::IdleStep();
    }
}
