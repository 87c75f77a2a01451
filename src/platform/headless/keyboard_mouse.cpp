// Keyboard, mouse and pads headless: the state the script or the tests set.
#include <cstring>

#include "platform/common/us_letters.h"
#include "platform/headless/state.h"

namespace platform {

using headless::detail::Backend;

bool OpenKeyboard() { return true; }
bool OpenMouse() { return true; }
void CloseKeyboard() {}
void CloseMouse() {}

bool ReadKeyboard(uint8_t keys[256]) {
    headless::detail::Poll();
    auto& s = Backend();
    if (keys) {
        for (int i = 0; i < 256; ++i) keys[i] = s.keys[i] | s.tappedKeys[i];
    }
    std::memset(s.tappedKeys, 0, sizeof s.tappedKeys);
    s.escapeTapped = false;
    return true;
}

bool ReadMouse(MouseReading& reading) {
    headless::detail::Poll();
    auto& s = Backend();
    // The motion since the last read is delivered whole, then starts again.
    reading.x = s.mouseX;
    reading.y = s.mouseY;
    reading.wheel = 0;
    for (int i = 0; i < 4; ++i) reading.buttons[i] = s.buttons[i] | s.tappedButtons[i];
    std::memset(s.tappedButtons, 0, sizeof s.tappedButtons);
    s.mouseX = 0;
    s.mouseY = 0;
    return true;
}

uint8_t KeyForLetter(char letter) { return UsLetterKey(letter); }

bool KeyLabel(uint8_t, char*, size_t) { return false; }

bool WindowAway() { return Backend().away; }

bool EscapeDown() {
    headless::detail::Poll();
    auto& s = Backend();
    const bool down = (s.keys[1] & 0x80) != 0 || s.escapeTapped;
    s.escapeTapped = false;
    return down;
}

bool ReadPad(int32_t index, PadReading& reading) {
    headless::detail::Poll();
    auto& s = Backend();
    return s.padSamples.Read(index, reading, [&s](int32_t pad, PadReading& now) {
        if (!s.pads[pad].connected) return false;
        std::memcpy(now.buttons, s.pads[pad].buttons, sizeof now.buttons);
        std::memcpy(now.axes, s.pads[pad].axes, sizeof now.axes);
        return true;
    });
}

void CaptureMouse(bool capture) {
    auto& s = Backend();
    // Motion not yet read belongs to the screen that is going away.
    if (s.mouseCaptured != capture) {
        s.mouseX = 0;
        s.mouseY = 0;
    }
    s.mouseCaptured = capture;
}

}  // namespace platform
