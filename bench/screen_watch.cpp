// Starts a program and notes when the screen changes, for the window bench:
// the time from exec to the first picture, how long a fade takes, when the
// menu shows. Every millisecond it reads three rows of the root window, at
// one, two and three eighths of the way down (the logos and the title cross
// them with bright colours that a fade never takes to black; "Loading..." lies
// lower), and writes a line for each change. SIGUSR1 stops the looking; the
// watcher ends when the program does.
//
//   volleen-screen-watch EVENTS_FILE PROGRAM [ARGS...]
//
// EVENTS_FILE gets "pid PID", then "MS NONBLACK" for each change (ms since
// the exec, pixels of the rows that are not black), then "exit STATUS MS".
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>

namespace {

volatile sig_atomic_t stopLooking = 0;

void StopLooking(int) { stopLooking = 1; }

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// A digest of the rows and how many of their pixels are not black.
struct Rows {
    uint64_t digest = 0;
    int nonBlack = 0;
    bool operator!=(const Rows& other) const {
        return digest != other.digest || nonBlack != other.nonBlack;
    }
};

Rows ReadRows(Display* display, Window root, int width, int height) {
    Rows rows;
    rows.digest = 1469598103934665603ull;
    for (int eighth = 1; eighth <= 3; ++eighth) {
        XImage* image = XGetImage(display, root, 0, height * eighth / 8,
                                  static_cast<unsigned>(width), 1, AllPlanes, ZPixmap);
        if (image == nullptr) continue;
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, 0) & 0xFFFFFF;
            rows.digest = (rows.digest ^ pixel) * 1099511628211ull;
            if (pixel != 0) ++rows.nonBlack;
        }
        XDestroyImage(image);
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: volleen-screen-watch EVENTS_FILE PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "screen-watch: cannot open the display\n");
        return 1;
    }
    FILE* events = std::fopen(argv[1], "w");
    if (events == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const int width = DisplayWidth(display, screen);
    const int height = DisplayHeight(display, screen);
    signal(SIGUSR1, StopLooking);

    Rows last = ReadRows(display, root, width, height);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror(argv[2]);
        _exit(127);
    }
    std::fprintf(events, "pid %d\n", static_cast<int>(child));
    std::fflush(events);

    int status = 0;
    for (;;) {
        const pid_t ended = waitpid(child, &status, stopLooking ? 0 : WNOHANG);
        if (ended == child || (ended < 0 && errno != EINTR)) break;
        if (stopLooking) continue;
        const Rows now = ReadRows(display, root, width, height);
        if (now != last) {
            std::fprintf(events, "%.1f %d\n", MsSince(start), now.nonBlack);
            std::fflush(events);
            last = now;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::fprintf(events, "exit %d %.1f\n", code, MsSince(start));
    std::fclose(events);
    XCloseDisplay(display);
    return 0;
}
