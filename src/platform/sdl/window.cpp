// The one game window, its message queue and the event pump.
#include <SDL.h>
#include <sys/stat.h>

#include <cstdio>

#include "platform/common/message_queue.h"
#include "platform/common/mixer.h"
#include "platform/common/surface.h"
#include "platform/common/text_raster.h"
#include "platform/platform.h"
#include "platform/sdl/frame_stats.h"
#include "platform/sdl/scancode_table.h"
#include "platform/sdl/state.h"
#include "platform/sdl/window_manager.h"

namespace platform {
namespace sdl {

State state;

namespace {

// Events taken this recently are fresh enough for reading input
// (see PumpEventsIfStale).
constexpr uint64_t PumpIntervalUs = 1000;

StartOptions startOptions;

// The windowed size Alt+Enter leaves full screen for: the window's last
// size, else the remembered one, else twice the game's picture when the
// desktop has room for it, else the picture's own size.
void WindowedSize(int* width, int* height) {
    if (state.windowedWidth > 0 && state.windowedHeight > 0) {
        *width = state.windowedWidth;
        *height = state.windowedHeight;
        return;
    }
    if (startOptions.windowWidth > 0 && startOptions.windowHeight > 0) {
        *width = startOptions.windowWidth;
        *height = startOptions.windowHeight;
        return;
    }
    *width = 1280;
    *height = 960;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && (usable.w < *width || usable.h < *height)) {
        *width = 640;
        *height = 480;
    }
}

// Whether this SDL was built with the video driver `name`.
bool HasVideoDriver(const char* name) {
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        if (SDL_strcmp(SDL_GetVideoDriver(i), name) == 0) return true;
    }
    return false;
}

// With no display SDL falls back to drivers that draw nowhere; a game nobody
// can see or close is no window, unless one of those was asked for by name.
bool Invisible(const char* driver) {
    if (driver == nullptr) return true;
    if (SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0) return false;
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    return wanted == nullptr || SDL_strcasecmp(wanted, driver) != 0;
}

void SetIcon(const char* iconFile) {
    if (iconFile == nullptr) return;
    SDL_Surface* icon = SDL_LoadBMP(iconFile);
    if (icon == nullptr) {
        // No icon file: the window goes without. One that is there but
        // cannot be used is named, as any other picture would be.
        struct stat status;
        if (stat(iconFile, &status) == 0) {
            std::fprintf(
                stderr, "volleen: cannot read %s: %s; the window has no icon\n", iconFile,
                S_ISDIR(status.st_mode) ? "is a directory" : "not a bitmap file the game can read");
        }
        return;
    }
    if (icon->format->palette != nullptr) SDL_SetColorKey(icon, SDL_TRUE, 0);
    SDL_SetWindowIcon(state.window, icon);
    SDL_FreeSurface(icon);
}

// Full screen covers the whole display. The window is also placed over it
// by hand, so that it covers the screen even where no window manager
// carries out the full-screen request; where none runs, it is not even
// asked (nobody would answer, and SDL would wait for the answer).
void EnterFullScreen() {
    SDL_Rect bounds;
    const int index = SDL_GetWindowDisplayIndex(state.window);
    if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &bounds) == 0) {
        SDL_SetWindowPosition(state.window, bounds.x, bounds.y);
        SDL_SetWindowSize(state.window, bounds.w, bounds.h);
    }
    if (WindowManagerRunning()) {
        SDL_SetWindowFullscreen(state.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowBordered(state.window, SDL_FALSE);
        state.fullScreenByHand = true;
    }
}

void LeaveFullScreen() {
    if (state.fullScreenByHand) {
        SDL_SetWindowBordered(state.window, SDL_TRUE);
        state.fullScreenByHand = false;
    } else {
        SDL_SetWindowFullscreen(state.window, 0);
    }
    int width = 0;
    int height = 0;
    WindowedSize(&width, &height);
    SDL_SetWindowSize(state.window, width, height);
    SDL_SetWindowPosition(state.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

bool FullScreen() {
    const Uint32 flags = SDL_GetWindowFlags(state.window);
    return (flags & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP ||
           state.fullScreenByHand;
}

void ToggleFullScreen() {
    if (FullScreen()) {
        LeaveFullScreen();
    } else {
        EnterFullScreen();
    }
    NeedWholePresent();
}

void HandleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            PostMessage(MessageKind::Close);
            break;
        case SDL_WINDOWEVENT_RESIZED:
            if (!FullScreen()) {
                state.windowedWidth = event.data1;
                state.windowedHeight = event.data2;
            }
            NeedWholePresent();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            NeedWholePresent();
            if (event.event != SDL_WINDOWEVENT_EXPOSED) state.minimised = false;
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            state.minimised = true;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            state.focused = true;
            state.focusLost = false;
            state.minimised = false;
            UpdateMouseCapture();
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            state.focused = false;
            state.focusLost = true;
            UpdateMouseCapture();
            break;
        default:
            break;
    }
}

void NoteKeyPressed(SDL_Scancode scancode) {
    const uint8_t set1 = Set1FromScancode(scancode);
    if (set1 != 0) state.tappedKeys[set1] = 0x80;
    if (scancode == SDL_SCANCODE_ESCAPE) state.escapeTapped = true;
}

void NoteButtonPressed(Uint8 button) {
    const Uint8 order[4] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1};
    for (int i = 0; i < 4; ++i) {
        if (order[i] == button && state.mouseOpen) state.tappedButtons[i] = 0x80;
    }
}

void HandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            PostMessage(MessageKind::Close);
            break;
        case SDL_WINDOWEVENT:
            HandleWindowEvent(event.window);
            break;
        case SDL_KEYDOWN:
            if (!event.key.repeat && (event.key.keysym.mod & KMOD_ALT) != 0 &&
                (event.key.keysym.scancode == SDL_SCANCODE_RETURN ||
                 event.key.keysym.scancode == SDL_SCANCODE_KP_ENTER)) {
                ToggleFullScreen();
            }
            if (!event.key.repeat && event.key.keysym.scancode == SDL_SCANCODE_F12) {
                SaveScreenshot();
            }
            if (!event.key.repeat) NoteKeyPressed(event.key.keysym.scancode);
            break;
        case SDL_MOUSEBUTTONDOWN:
            NoteButtonPressed(event.button.button);
            break;
        case SDL_MOUSEWHEEL: {
            // One notch is 120 counts, away from the player positive.
            const int notches =
                event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            state.wheel += notches * 120;
            break;
        }
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
            HandlePadEvent(event.cdevice);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            HandlePadButton(event.cbutton);
            break;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            NeedWholePresent();
            break;
        default:
            // Keys and motion are read as state; their events would only pile up.
            break;
    }
}

}  // namespace

void PumpEvents() {
    if (state.window == nullptr) return;
    state.lastPump = PreciseTime();
    SDL_PumpEvents();
    SDL_Event events[64];
    for (;;) {
        const int count = SDL_PeepEvents(events, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        if (count <= 0) break;
        for (int i = 0; i < count; ++i) HandleEvent(events[i]);
    }
    if (X11WindowGone() && !queue::CloseRequested()) PostMessage(MessageKind::Close);
}

bool MouseCaptured() { return state.mouseOpen && state.captureWanted && state.focused; }

void PumpEventsIfStale() {
    if (PreciseTime() - state.lastPump >= PumpIntervalUs) PumpEvents();
}

void UpdateMouseCapture() {
    if (state.window == nullptr) return;
    const bool capture = MouseCaptured();
    if (static_cast<bool>(SDL_GetRelativeMouseMode()) != capture) {
        SDL_SetRelativeMouseMode(capture ? SDL_TRUE : SDL_FALSE);
        // Motion gathered before the change belongs to the other side of it.
        SDL_GetRelativeMouseState(nullptr, nullptr);
        state.pointerKnown = false;
    }
    SDL_ShowCursor(capture ? SDL_DISABLE : SDL_ENABLE);
}

}  // namespace sdl

using sdl::state;

bool KeptReplaysFolder(std::string* /*folder*/, int32_t* /*kept*/) { return false; }

void SetStartOptions(const StartOptions& options) {
    sdl::startOptions = options;
    sdl::frame_stats::Enable(options.frameStats);
}

void ShowStartupError(const char* text) {
    // Without a display nobody would see the box: stderr has the line.
    if (sdl::HasVideoDriver("x11") && SDL_getenv("DISPLAY") == nullptr &&
        SDL_getenv("WAYLAND_DISPLAY") == nullptr) {
        return;
    }
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Volleen", text, state.window);
}

bool CreateGameWindow(const char* title, const char* iconFile, std::string* why) {
    // Ctrl+C and SIGTERM end the process as they would any other program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // The program's own main() is the entry point, not SDL's.
    SDL_SetMainReady();
    // Wayland is tried only where a Wayland display is named: probing for one
    // elsewhere prints its own complaints. (A system without X11, such as
    // Windows, has a driver of its own and no choice to make.)
    if (SDL_getenv("SDL_VIDEODRIVER") == nullptr && SDL_getenv("WAYLAND_DISPLAY") == nullptr &&
        sdl::HasVideoDriver("x11")) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,kmsdrm");
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        // Name the display that was tried, so a wrong one is seen at once.
        char text[256];
        const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
        const char* x11 = SDL_getenv("DISPLAY");
        if (wayland != nullptr) {
            SDL_snprintf(text, sizeof text, "cannot reach the display WAYLAND_DISPLAY=%s%s%s: %s",
                         wayland, x11 != nullptr ? " or DISPLAY=" : "", x11 != nullptr ? x11 : "",
                         SDL_GetError());
        } else if (x11 != nullptr) {
            SDL_snprintf(text, sizeof text, "cannot reach the display DISPLAY=%s: %s", x11,
                         SDL_GetError());
        } else {
            SDL_snprintf(text, sizeof text, "no display (DISPLAY is not set): %s", SDL_GetError());
        }
        SetWhy(why, text);
        return false;
    }
    if (sdl::Invisible(SDL_GetCurrentVideoDriver())) {
        SetWhy(why, "no display to show the window on (DISPLAY is not set)");
        SDL_Quit();
        return false;
    }
    const Uint32 flags = SDL_WINDOW_RESIZABLE | sdl::PresentWindowFlags();
    if (sdl::startOptions.fullScreen) {
        // Placed over the whole first display, as the full-screen window it is.
        SDL_Rect bounds{0, 0, 640, 480};
        SDL_GetDisplayBounds(0, &bounds);
        state.fullScreenByHand = !sdl::WindowManagerRunning();
        state.window =
            SDL_CreateWindow(title, bounds.x, bounds.y, bounds.w, bounds.h,
                             flags | (state.fullScreenByHand ? SDL_WINDOW_BORDERLESS
                                                             : SDL_WINDOW_FULLSCREEN_DESKTOP));
    } else {
        int width = 0;
        int height = 0;
        sdl::WindowedSize(&width, &height);
        state.window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        width, height, flags);
    }
    if (state.window == nullptr || !sdl::OpenPresenter()) {
        SetWhy(why, SDL_GetError());
        DestroyGameWindow();
        return false;
    }
    sdl::GuardX11Window(state.window);
    sdl::SetIcon(iconFile);
    sdl::OpenPads();
    // Keys are read as scan codes; no text input or input method is wanted.
    SDL_StopTextInput();
    state.focused = (SDL_GetWindowFlags(state.window) & SDL_WINDOW_INPUT_FOCUS) != 0;
    sdl::Present();
    return true;
}

void DestroyGameWindow() {
    sdl::frame_stats::Report();
    sdl::ClosePads();
    CloseDisplay();
    CloseAudio();
    mixer::ReleaseAll();
    text::Shutdown();
    sdl::ClosePresenter();
    if (state.window != nullptr) SDL_DestroyWindow(state.window);
    sdl::SettleX11();
    state = sdl::State{};
    queue::Clear();
    SDL_Quit();
}

bool WindowPlacement(bool* fullScreen, int32_t* width, int32_t* height) {
    if (state.window == nullptr) return false;
    *fullScreen = sdl::FullScreen();
    int w = 0;
    int h = 0;
    sdl::WindowedSize(&w, &h);
    *width = w;
    *height = h;
    return true;
}

bool PeekMessage(Message& out) {
    // The frame's wait has just taken the events: one pump a frame is enough.
    sdl::PumpEventsIfStale();
    return queue::Take(out);
}

void PostMessage(MessageKind kind, int32_t code) { queue::Post(kind, code); }

bool WindowAway() {
    sdl::PumpEventsIfStale();
    return state.focusLost || state.minimised;
}

bool CloseRequested() {
    sdl::PumpEventsIfStale();
    return queue::CloseRequested();
}

// The cursor follows the capture instead: hidden while the game holds the
// mouse, shown whenever a player may need it for another window.
void ShowCursor(bool /*show*/) {}

void CaptureMouse(bool capture) {
    state.captureWanted = capture;
    sdl::UpdateMouseCapture();
}

}  // namespace platform
