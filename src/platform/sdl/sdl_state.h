// What the pieces of the SDL backend share: the window, the renderer and its
// textures, the audio device, and the pump that keeps the window alive.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform::sdl {

struct State {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* screen = nullptr;  // 640 x 480 true colour, refilled at each present
    SDL_Texture* scaled = nullptr;  // the whole-multiple enlargement of `screen`
    int scaledFactor = 0;           // the multiple `scaled` was made for
    bool displayOpen = false;
    uint32_t presentedGeneration = 0;  // generation of the visible surface last shown
    bool presentedOnce = false;
    bool needsPresent = false;  // exposed or resized since the last present
    bool mouseOpen = false;
    bool captureWanted = false;  // what the game asked for with CaptureMouse
    bool focused = false;
    bool closeRequested = false;  // the window is going: nothing more is shown
    int32_t wheel = 0;  // wheel motion gathered by the pump
    SDL_AudioDeviceID audio = 0;
};

extern State state;

// Takes every pending event: window-level ones are handled or queued as
// messages, input events are dropped (input is read as state, not events).
void PumpEvents();

// Shows the visible surface now, through the palette.
void Present();
// Shows it when it changed since it was last shown, or the window needs it.
void PresentIfChanged();

// Errors about the window from X (it was destroyed by another program) end
// the game as a close request does, instead of the process (X11 only).
void GuardX11Window(SDL_Window* window);
bool X11WindowGone();
// Takes the errors that releasing such a window causes; before SDL_Quit.
void SettleX11();

// Relative mouse mode, cursor hidden, while the game has the mouse open,
// wants it captured and the window has focus; else released, cursor shown.
void UpdateMouseCapture();
bool MouseCaptured();

// Gamepads: the subsystem with the window, plugging in and out by events.
void OpenPads();
void ClosePads();
void HandlePadEvent(const SDL_ControllerDeviceEvent& event);

}  // namespace platform::sdl
