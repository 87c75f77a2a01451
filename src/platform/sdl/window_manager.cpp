#include "platform/sdl/window_manager.h"

#include <SDL.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform::sdl {

bool WindowManagerRunning() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || SDL_strcmp(driver, "x11") != 0) return true;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return true;
    // Every window manager of the last twenty years names its own window on
    // the root window under this property.
    bool running = false;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                               &type, &format, &count, &after, &data) == Success) {
            running = type == XA_WINDOW && count == 1;
        }
        if (data != nullptr) XFree(data);
    }
    XCloseDisplay(display);
    return running;
}

}  // namespace platform::sdl
