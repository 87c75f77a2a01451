// What the pieces of the SDL backend share: the window, how it is drawn, the
// audio device, and the pump that keeps the window alive.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/common/pad_samples.h"

namespace platform {
struct Surface;
}

namespace platform::sdl {

struct State {
    SDL_Window* window = nullptr;
    // Null where the processor draws: the picture then goes straight into the
    // window's own pixels (see present.cpp).
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* screen = nullptr;   // renderer only: 640 x 480 true colour
    SDL_Texture* scaled = nullptr;   // renderer only: the whole-multiple enlargement
    int scaledFactor = 0;            // the multiple `scaled` was made for
    SDL_Surface* shownOn = nullptr;  // window pixels last drawn into (a resize makes new ones)
    int shownWidth = 0;
    int shownHeight = 0;
    bool displayOpen = false;
    bool needsPresent = false;      // exposed or resized: the whole window is drawn again
    uint32_t presents = 0;          // pictures shown since the window was made
    bool fullScreenByHand = false;  // covering the display without a window manager
    int windowedWidth = 0;          // the window's size as the player last made it
    int windowedHeight = 0;         // (0: not resized)
    bool mouseOpen = false;
    bool captureWanted = false;  // what the game asked for with CaptureMouse
    // A tablet, a remote desktop or a virtual machine's pointer may move the
    // pointer without any relative motion: until relative motion is seen,
    // the paddle follows the pointer's change of position.
    bool relativeSeen = false;
    bool pointerKnown = false;  // pointerX and pointerY hold the last read's position
    int pointerX = 0;
    int pointerY = 0;
    bool focused = false;
    bool focusLost = false;  // had the focus and lost it: the player looked away
    bool minimised = false;
    int32_t wheel = 0;  // wheel motion gathered by the pump
    // Pressed since the last read (set-1 codes, buttons): a tap between two
    // reads still counts once.
    uint8_t tappedKeys[256] = {};
    bool escapeTapped = false;
    uint8_t tappedButtons[4] = {};
    PadSamples padSamples;  // what the game reads of the pads
    uint64_t lastPump = 0;  // PreciseTime of the last pump
    SDL_AudioDeviceID audio = 0;
};

extern State state;

// Takes every pending event: window-level ones are handled or queued as
// messages, input events are dropped (input is read as state, not events).
void PumpEvents();
// The same, unless it was done within the last millisecond: Escape, the
// keyboard, the mouse and the close check are read one after the other at
// the start of a frame or a pass of a waiting loop, and one pump serves all.
void PumpEventsIfStale();

// Chooses, once, how the window is drawn: the flags the window must be made
// with, then the drawing itself for the window made.
Uint32 PresentWindowFlags();
bool OpenPresenter();
void ClosePresenter();
// What the renderer needs for a picture of this size (its streaming texture).
bool OpenPresenterPicture(int width, int height);
void ClosePresenterPicture();

// Shows the visible surface now, through the palette.
void Present();
// The whole window is to be drawn again (exposed, resized, switched): owed to
// the show rule, done at the next wait.
void NeedWholePresent();

// Errors about the window from X (it was destroyed by another program) end
// the game as a close request does, instead of the process (X11 only).
void GuardX11Window(SDL_Window* window);
bool X11WindowGone();
// Where the pointer is on the screen, asked of X itself (SDL's own answer
// follows relative motion only); false where the window is not on X.
bool X11PointerPosition(int* x, int* y);
// Takes the errors that releasing such a window causes; before SDL_Quit.
void SettleX11();

// Relative mouse mode, cursor hidden, while the game has the mouse open,
// wants it captured and the window has focus; else released, cursor shown.
void UpdateMouseCapture();
bool MouseCaptured();

// F12: the visible picture as a PNG in the player's pictures folder, with a
// line saying where.
void SaveScreenshot();

// Gamepads: the subsystem with the window, plugging in and out by events.
void OpenPads();
void ClosePads();
void HandlePadEvent(const SDL_ControllerDeviceEvent& event);
// A pad's button went down: it counts in the next sample even if let go first.
void HandlePadButton(const SDL_ControllerButtonEvent& event);

}  // namespace platform::sdl
