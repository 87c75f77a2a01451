#include "input/input.h"

#include <cstdio>
#include <cstring>

#include "input/pads.h"
#include "platform/platform.h"

uint8_t KeyState[256];
MouseStateRecord MouseState;

bool InputSystem = false;
bool KeyboardDevice = false;
bool MouseDevice = false;

int32_t InputInit() {
    // The platform needs no object of its own for input; the flag stands in
    // for it so that the devices keep their "no system, no device" rule.
    InputSystem = true;
    return 1;
}

int32_t KeyboardInit() {
    if (!InputSystem) {
        std::fprintf(stderr, "volleen: no keyboard: the input system is not set up\n");
        return 0;
    }
    if (!platform::OpenKeyboard()) {
        std::fprintf(stderr, "volleen: no keyboard: the platform could not open it\n");
        return 0;
    }
    KeyboardDevice = true;
    return 1;
}

int32_t MouseInit() {
    if (!InputSystem) {
        std::fprintf(stderr, "volleen: no mouse: the input system is not set up\n");
        return 0;
    }
    if (!platform::OpenMouse()) {
        std::fprintf(stderr, "volleen: no mouse: the platform could not open it\n");
        return 0;
    }
    MouseDevice = true;
    return 1;
}

// The pads add their presses whatever the keyboard or mouse did: they are
// devices of their own.
int32_t ReadKeyboard() {
    int32_t result = 1;
    // A refused read clears the record too: a key must never stay held
    // because the device stopped answering.
    if (!KeyboardDevice || !platform::ReadKeyboard(KeyState)) {
        std::memset(KeyState, 0, sizeof KeyState);
        result = 0;
    }
    PressPadKeys(KeyState);
    return result;
}

int32_t ReadMouse() {
    int32_t result = 1;
    platform::MouseReading reading{};
    if (!MouseDevice || !platform::ReadMouse(reading)) {
        std::memset(&MouseState, 0, sizeof MouseState);
        result = 0;
    } else {
        MouseState.x = reading.x;
        MouseState.y = reading.y;
        MouseState.wheel = reading.wheel;
        std::memcpy(MouseState.buttons, reading.buttons, sizeof MouseState.buttons);
    }
    return result;
}

bool EscapeHeld() { return platform::EscapeDown() || PadEscapeHeld(); }

void KeyboardShutdown() {
    if (KeyboardDevice) {
        platform::CloseKeyboard();
        KeyboardDevice = false;
    }
}

void MouseShutdown() {
    if (MouseDevice) {
        platform::CloseMouse();
        MouseDevice = false;
    }
}

void InputShutdown() { InputSystem = false; }
