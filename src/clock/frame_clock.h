// The frame clock: paces each frame of play and each step of a fade.
#pragma once

#include <cstdint>

// While set, frames do not wait for their time: a watcher catching up.
// The picture is still shown each frame.
extern bool FrameClockHurry;

// Notes the moment as the frame's start and returns the tick count read.
uint32_t StartFrameClock();
// Returns once at least `ms` milliseconds have passed since StartFrameClock,
// on the platform's finer clock (so also on the tick difference, and a wrap
// of the tick count is harmless), or when a close request arrives. Sleeps
// instead of spinning.
void WaitFrameClock(uint32_t ms);
