// --frame-stats: how evenly the frames came and what showing them cost,
// printed in one line when the window closes, so a player can report stutter.
#pragma once

#include <cstdint>

namespace platform::sdl::frame_stats {

void Enable(bool on);
// A flip. The frame is the last flip before the frame clock's wait (a point
// scored draws the court twice in one frame); its period runs from the frame
// before, unless a pause, an idle loop or a palette change came between.
void NoteFlip();
void NoteWait();
void Break();
// One present took `us` microseconds.
void NotePresent(uint64_t us);
// Prints the line (when enabled and anything was shown) and starts afresh.
void Report();

}  // namespace platform::sdl::frame_stats
