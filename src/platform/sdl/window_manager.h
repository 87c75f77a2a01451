// Whether a window manager looks after the display. Without one nobody
// answers a full-screen request, and SDL waits a tenth of a second for the
// answer each time; the window then covers the display by hand instead.
#pragma once

namespace platform::sdl {

// True wherever it cannot tell (any display but X11).
bool WindowManagerRunning();

}  // namespace platform::sdl
