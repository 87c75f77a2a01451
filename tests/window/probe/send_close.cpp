// A test-only helper: asks an X window to close the way a window manager
// does (WM_DELETE_WINDOW), since the test display runs without one; or, with
// --destroy, destroys it from outside, as a desktop tool or script can.
//
//   volleen-send-close [--destroy] WINDOW_ID
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    const bool destroy = argc == 3 && std::strcmp(argv[1], "--destroy") == 0;
    if (argc != 2 && !destroy) {
        std::fprintf(stderr, "usage: volleen-send-close [--destroy] WINDOW_ID\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "send-close: cannot open the display\n");
        return 1;
    }
    const Window window = static_cast<Window>(std::strtoul(argv[argc - 1], nullptr, 0));
    if (destroy) {
        XDestroyWindow(display, window);
        XSync(display, False);
        XCloseDisplay(display);
        return 0;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent != 0 ? 0 : 1;
}
