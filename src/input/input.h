// The keyboard and mouse, polled into program-wide records.
#pragma once

#include <cstdint>

struct MouseStateRecord {
    int32_t x;           // motion since the previous read, right positive
    int32_t y;           // motion since the previous read, down positive
    int32_t wheel;       // wheel motion since the previous read
    uint8_t buttons[4];  // 0x80 while held; button 0 is the left button
};
static_assert(sizeof(MouseStateRecord) == 16);

// Read once a frame: non-zero while the key with that code is held.
extern uint8_t KeyState[256];
// Read once a frame: motion since the last read, and the buttons.
extern MouseStateRecord MouseState;

// Presence of the input system and of each device: a device that is absent
// reads as an all-zero record and reports 0.
extern bool InputSystem;
extern bool KeyboardDevice;
extern bool MouseDevice;

int32_t InputInit();
int32_t KeyboardInit();
int32_t MouseInit();
int32_t ReadKeyboard();
int32_t ReadMouse();
// Escape at this moment, not waiting for a read: the key, or a pad's Start
// while a match is on screen.
bool EscapeHeld();
void KeyboardShutdown();
void MouseShutdown();
void InputShutdown();
