// A window destroyed by another program (a script, a desktop tool): X reports
// every later use of it as an error, and Xlib's answer to an error is to end
// the process with status 1. Errors about our own window are taken instead as
// the window being gone, which the pump turns into a close request.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include "platform/sdl/state.h"

namespace platform::sdl {

namespace {

Display* guardedDisplay = nullptr;
::Window guardedWindow = 0;
XErrorHandler previousHandler = nullptr;
bool windowGone = false;

int OnXError(Display* display, XErrorEvent* error) {
    const bool ours = error->resourceid == guardedWindow || error->error_code == BadWindow ||
                      error->error_code == BadDrawable;
    if (display == guardedDisplay && (windowGone || ours)) {
        windowGone = true;
        return 0;
    }
    return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

}  // namespace

void GuardX11Window(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    guardedDisplay = info.info.x11.display;
    guardedWindow = info.info.x11.window;
    windowGone = false;
    const XErrorHandler before = XSetErrorHandler(OnXError);
    if (before != OnXError) previousHandler = before;
}

bool X11WindowGone() { return windowGone; }

bool X11PointerPosition(int* x, int* y) {
    if (guardedDisplay == nullptr || windowGone) return false;
    ::Window root = 0;
    ::Window child = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int mask = 0;
    return XQueryPointer(guardedDisplay, DefaultRootWindow(guardedDisplay), &root, &child, x, y,
                         &windowX, &windowY, &mask) != 0;
}

void SettleX11() {
    // The errors that releasing a destroyed window causes arrive here, while
    // they are still answered; SDL's own shut-down hands errors back to Xlib.
    if (guardedDisplay != nullptr) XSync(guardedDisplay, False);
}

}  // namespace platform::sdl
