// Keyboard and mouse, read as whole-device state after pumping the events.
#include <SDL.h>

#include <cstring>

#include "platform/platform.h"
#include "platform/sdl/keyboard_layout.h"
#include "platform/sdl/scancode_table.h"
#include "platform/sdl/state.h"

namespace platform {

using sdl::state;

namespace {
bool keyboardOpen = false;
}  // namespace

bool OpenKeyboard() {
    keyboardOpen = state.window != nullptr;
    return keyboardOpen;
}

void CloseKeyboard() { keyboardOpen = false; }

bool OpenMouse() {
    if (state.window == nullptr) return false;
    state.mouseOpen = true;
    // Motion from before the game took the mouse is not the player's.
    SDL_GetRelativeMouseState(nullptr, nullptr);
    state.wheel = 0;
    sdl::UpdateMouseCapture();
    return true;
}

void CloseMouse() {
    state.mouseOpen = false;
    sdl::UpdateMouseCapture();
}

bool ReadKeyboard(uint8_t keys[256]) {
    std::memset(keys, 0, 256);
    if (!keyboardOpen) return false;
    sdl::PumpEventsIfStale();
    int count = 0;
    const Uint8* held = SDL_GetKeyboardState(&count);
    for (int i = 0; i < sdl::ScancodeTableSize; ++i) {
        const sdl::ScancodePair& pair = sdl::ScancodeTable[i];
        if (pair.sdl < count && held[pair.sdl]) keys[pair.set1] = 0x80;
    }
    for (int i = 0; i < 256; ++i) keys[i] |= state.tappedKeys[i];
    std::memset(state.tappedKeys, 0, sizeof state.tappedKeys);
    state.escapeTapped = false;
    return true;
}

bool ReadMouse(MouseReading& reading) {
    std::memset(&reading, 0, sizeof reading);
    if (!state.mouseOpen) return false;
    sdl::PumpEventsIfStale();
    // SDL adds up the motion of every pumped event until this call takes it,
    // so motion made while captured but not read arrives here whole.
    int dx = 0;
    int dy = 0;
    const Uint32 buttons = SDL_GetRelativeMouseState(&dx, &dy);
    int x = 0;
    int y = 0;
    if (!sdl::X11PointerPosition(&x, &y)) SDL_GetGlobalMouseState(&x, &y);
    if (dx != 0 || dy != 0) {
        state.relativeSeen = true;
    } else if (!state.relativeSeen && state.pointerKnown) {
        dx = x - state.pointerX;
        dy = y - state.pointerY;
    }
    state.pointerKnown = true;
    state.pointerX = x;
    state.pointerY = y;
    // Released, the pointer is the desktop's: its motion is not the paddle's.
    if (sdl::MouseCaptured()) {
        reading.x = dx;
        reading.y = dy;
    }
    reading.wheel = state.wheel;
    state.wheel = 0;
    const Uint32 masks[4] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK,
                             SDL_BUTTON_X1MASK};
    for (int i = 0; i < 4; ++i) {
        reading.buttons[i] = (buttons & masks[i]) != 0 ? 0x80 : state.tappedButtons[i];
    }
    std::memset(state.tappedButtons, 0, sizeof state.tappedButtons);
    return true;
}

uint8_t KeyForLetter(char letter) { return sdl::LetterKeyIn(letter, SDL_GetKeyFromScancode); }

bool KeyLabel(uint8_t code, char* buffer, size_t size) {
    return sdl::KeyLabelIn(code, SDL_GetKeyFromScancode, buffer, size);
}

bool EscapeDown() {
    if (state.window == nullptr) return false;
    sdl::PumpEventsIfStale();
    const bool down = SDL_GetKeyboardState(nullptr)[SDL_SCANCODE_ESCAPE] != 0 || state.escapeTapped;
    state.escapeTapped = false;
    return down;
}

}  // namespace platform
