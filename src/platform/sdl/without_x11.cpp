// Where SDL draws without X11 (Windows), built instead of x11_guard.cpp and
// window_manager.cpp: there is no X connection to guard, the pointer comes
// from SDL, and the system's own window manager is always there.
#include "platform/sdl/state.h"
#include "platform/sdl/window_manager.h"

namespace platform::sdl {

void GuardX11Window(SDL_Window*) {}

bool X11WindowGone() { return false; }

bool X11PointerPosition(int*, int*) { return false; }

void SettleX11() {}

bool WindowManagerRunning() { return true; }

}  // namespace platform::sdl
