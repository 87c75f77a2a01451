// The frame clock: paces each frame of play and each step of a transition.
#pragma once

#include <cstdint>

// The tick count at the start of the frame (or transition step) being timed.
extern uint32_t FrameStartTick;

// Notes the tick count as the frame's start and returns it.
uint32_t StartFrameClock();
// Returns once at least `ms` milliseconds have passed since StartFrameClock,
// counted on the unsigned 32-bit tick difference (so a wrap is harmless).
// Gives the processor back on every pass instead of spinning.
void WaitFrameClock(uint32_t ms);
