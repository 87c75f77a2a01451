// What the pieces of the browser backend share: the page's picture, the
// input gathered from the page's events, and the wait that hands control back
// to the browser.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/common/pad_samples.h"

namespace platform::web {

struct State {
    bool windowOpen = false;
    bool displayOpen = false;
    uint32_t lastWait = 0;       // tick count when the browser last had control
    std::vector<uint32_t> rgba;  // the picture through the palette, as the page takes it
    bool captureWanted = false;  // what the game asked for with CaptureMouse
    bool keyboardOpen = false;
    bool mouseOpen = false;
    bool away = false;       // the page is hidden or lost the focus
    uint8_t keys[256] = {};  // filled by the page's key events
    char labels[256] = {};   // what each key typed when last pressed (KeyboardEvent.key)
    int32_t motionX = 0;     // gathered by the page's pointer events
    int32_t motionY = 0;
    int32_t wheel = 0;
    uint8_t buttons[4] = {};
    // Pressed since the last read: a tap between two reads still counts once.
    uint8_t tappedKeys[256] = {};
    bool escapeTapped = false;
    uint8_t tappedButtons[4] = {};
    // What the game reads of the pads; the page adds the presses it saw.
    PadSamples padSamples;
};

extern State state;

// Shows the visible surface now, through the palette.
void Present();
// Tells the page whether the game holds the pointer (open, and asked for).
void UpdateMouseCapture();
// Shows what is owed, then gives the browser control for at least `ms`
// milliseconds, so that it paints, plays and hears the player meanwhile.
void Wait(uint32_t ms);

}  // namespace platform::web
