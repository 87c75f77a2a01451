// The frame clock: paces each frame of play and each step of a transition.
#pragma once

#include <cstdint>

// The tick count at the start of the frame (or transition step) being timed.
extern uint32_t FrameStartTick;

// Notes the tick count as the frame's start and returns it.
uint32_t StartFrameClock();
// Returns once at least `ms` milliseconds have passed since StartFrameClock,
// on the platform's finer clock (so also on the tick difference, and a wrap
// of the tick count is harmless), or when a close request arrives. Sleeps
// instead of spinning.
void WaitFrameClock(uint32_t ms);
