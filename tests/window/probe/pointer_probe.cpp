// A test-only helper, another X client beside the game:
//
//   volleen-pointer-probe grab    tries to grab the pointer, as any program
//                                 may when nobody holds it; prints "grabbed"
//                                 (and lets go at once) or "taken" (another
//                                 client holds it), exit status 0 or 1
//   volleen-pointer-probe focus   maps a small window of its own, gives it
//                                 the keyboard focus, prints "focused"; the
//                                 focus goes nowhere when it exits
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

namespace {

int Grab(Display* display) {
    const int result = XGrabPointer(display, DefaultRootWindow(display), False, ButtonPressMask,
                                    GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    if (result == GrabSuccess) {
        XUngrabPointer(display, CurrentTime);
        XSync(display, False);
        std::printf("grabbed\n");
        return 0;
    }
    std::printf(result == AlreadyGrabbed ? "taken\n" : "refused %d\n", result);
    return 1;
}

int Focus(Display* display) {
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 16, 16, 0, 0, 0);
    XSelectInput(display, window, StructureNotifyMask);
    XMapRaised(display, window);
    for (XEvent event; XNextEvent(display, &event) == 0;) {
        if (event.type == MapNotify) break;
    }
    XSetInputFocus(display, window, RevertToNone, CurrentTime);
    XSync(display, False);
    std::printf("focused\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "grab") != 0 && std::strcmp(argv[1], "focus") != 0)) {
        std::fprintf(stderr, "usage: volleen-pointer-probe grab|focus\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "pointer-probe: cannot open the display\n");
        return 2;
    }
    const int status = std::strcmp(argv[1], "grab") == 0 ? Grab(display) : Focus(display);
    XCloseDisplay(display);
    return status;
}
