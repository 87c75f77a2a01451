// Keyboard and mouse: the page's events are gathered into whole-device state,
// which the game reads as it would the native devices.
#include <emscripten.h>

#include <cstring>

#include "platform/common/us_letters.h"
#include "platform/platform.h"
#include "platform/web/scancode_table.h"
#include "platform/web/state.h"

EM_JS(void, volleen_pointer, (int capture), { Volleen.pointer(capture); });
EM_JS(int, volleen_pad, (int index, uint8_t* buttons, int16_t* axes),
      { return Volleen.readPad(index, buttons, axes); });

namespace platform {
namespace web {

void UpdateMouseCapture() {
    // The page asks the browser for the pointer at the player's next click on
    // the picture, the one moment a page may have it.
    const bool capture = state.mouseOpen && state.captureWanted;
    // Motion gathered before the change belongs to the other side of it.
    state.motionX = state.motionY = 0;
    volleen_pointer(capture ? 1 : 0);
}

}  // namespace web

using web::state;

bool OpenKeyboard() {
    state.keyboardOpen = state.windowOpen;
    return state.keyboardOpen;
}

void CloseKeyboard() { state.keyboardOpen = false; }

bool OpenMouse() {
    if (!state.windowOpen) return false;
    state.mouseOpen = true;
    // Motion from before the game took the mouse is not the player's.
    state.motionX = state.motionY = state.wheel = 0;
    web::UpdateMouseCapture();
    return true;
}

void CloseMouse() {
    state.mouseOpen = false;
    web::UpdateMouseCapture();
}

bool ReadKeyboard(uint8_t keys[256]) {
    std::memset(keys, 0, 256);
    if (!state.keyboardOpen) return false;
    for (int i = 0; i < 256; ++i) keys[i] = state.keys[i] | state.tappedKeys[i];
    std::memset(state.tappedKeys, 0, sizeof state.tappedKeys);
    state.escapeTapped = false;
    return true;
}

bool ReadMouse(MouseReading& reading) {
    std::memset(&reading, 0, sizeof reading);
    if (!state.mouseOpen) return false;
    reading.x = state.motionX;
    reading.y = state.motionY;
    reading.wheel = state.wheel;
    state.motionX = state.motionY = state.wheel = 0;
    for (int i = 0; i < 4; ++i) reading.buttons[i] = state.buttons[i] | state.tappedButtons[i];
    std::memset(state.tappedButtons, 0, sizeof state.tappedButtons);
    return true;
}

bool EscapeDown() {
    const bool down = state.windowOpen && (state.keys[1] != 0 || state.escapeTapped);
    state.escapeTapped = false;
    return down;
}

// The page learns the layout from the keys pressed: a letter is found on the
// key that typed it, else on its US key unless that key typed something else.
uint8_t KeyForLetter(char letter) {
    for (int i = 1; i < 256; ++i) {
        if (state.labels[i] == letter) return static_cast<uint8_t>(i);
    }
    const uint8_t us = UsLetterKey(letter);
    return state.labels[us] == 0 || state.labels[us] == letter ? us : 0;
}

bool KeyLabel(uint8_t code, char* buffer, size_t size) {
    const char label = state.labels[code];
    if (label == 0 || size < 2) return false;
    buffer[0] = label >= 'a' && label <= 'z' ? static_cast<char>(label - 'a' + 'A') : label;
    buffer[1] = '\0';
    return true;
}

bool WindowAway() { return state.away; }

void CaptureMouse(bool capture) {
    state.captureWanted = capture;
    web::UpdateMouseCapture();
}

// The browser numbers the pads; the page keeps the game's numbering stable,
// and shows a button pressed since the last read as held.
bool ReadPad(int32_t index, PadReading& reading) {
    if (!state.windowOpen) {
        std::memset(&reading, 0, sizeof reading);
        return false;
    }
    return state.padSamples.Read(index, reading, [](int32_t pad, PadReading& now) {
        return volleen_pad(pad, now.buttons, now.axes) != 0;
    });
}

}  // namespace platform

// Called by the page.
using platform::web::state;

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* volleen_key_code(int index) {
    return index >= 0 && index < platform::web::KeyCodeTableSize
               ? platform::web::KeyCodeTable[index].code
               : nullptr;
}

EMSCRIPTEN_KEEPALIVE int volleen_key_set1(int index) {
    return index >= 0 && index < platform::web::KeyCodeTableSize
               ? platform::web::KeyCodeTable[index].set1
               : 0;
}

EMSCRIPTEN_KEEPALIVE void volleen_key(int set1, int down) {
    if (set1 <= 0 || set1 >= 256) return;
    state.keys[set1] = down ? 0x80 : 0;
    if (down) state.tappedKeys[set1] = 0x80;
    if (down && set1 == 1) state.escapeTapped = true;
}

// The page lost the keyboard: no key stays held that was let go elsewhere.
EMSCRIPTEN_KEEPALIVE void volleen_keys_released() {
    std::memset(state.keys, 0, 256);
    std::memset(state.tappedKeys, 0, 256);
    state.escapeTapped = false;
}

EMSCRIPTEN_KEEPALIVE void volleen_mouse_motion(int dx, int dy) {
    if (!state.mouseOpen) return;
    state.motionX += dx;
    state.motionY += dy;
}

EMSCRIPTEN_KEEPALIVE void volleen_mouse_button(int button, int down) {
    if (button < 0 || button >= 4) return;
    state.buttons[button] = down ? 0x80 : 0;
    if (down && state.mouseOpen) state.tappedButtons[button] = 0x80;
}

// What the key typed, when one printable character (lower case for letters).
EMSCRIPTEN_KEEPALIVE void volleen_key_label(int set1, int character) {
    if (set1 <= 0 || set1 >= 256 || character <= ' ' || character > '~') return;
    const char label =
        static_cast<char>(character >= 'A' && character <= 'Z' ? character - 'A' + 'a' : character);
    // One key types it: the player may have switched layouts since.
    for (char& other : state.labels) {
        if (other == label) other = 0;
    }
    state.labels[set1] = label;
}

// The tab was hidden or the page lost the focus (1), or the player is back (0).
EMSCRIPTEN_KEEPALIVE void volleen_away(int away) { state.away = away != 0; }

// One notch is 120 counts, away from the player positive.
EMSCRIPTEN_KEEPALIVE void volleen_mouse_wheel(int notches) {
    if (state.mouseOpen) state.wheel += notches * 120;
}

}  // extern "C"
