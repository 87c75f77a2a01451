#include "input/pads.h"

#include <algorithm>

#include "frontend/key_bindings.h"
#include "input/controls.h"
#include "input/key_codes.h"
#include "match/match.h"
#include "platform/platform.h"

using platform::PadAxis;
using platform::PadButton;

namespace {

// Buttons held when the screen last changed, per pad, one bit per button;
// a bit clears when its button is seen up.
uint32_t HeldSinceChange[platform::MaxPads];

uint32_t Bit(PadButton button) { return 1u << static_cast<int>(button); }

uint32_t HeldButtons(const platform::PadReading& pad) {
    uint32_t held = 0;
    for (int i = 0; i < static_cast<int>(PadButton::Count); ++i) {
        if (pad.buttons[i] != 0) held |= 1u << i;
    }
    return held;
}

// The buttons of pad `index` that count as pressed now, and its stick in
// `pad`; 0 for a pad that is not there.
uint32_t ReadButtons(int32_t index, platform::PadReading& pad) {
    if (!platform::ReadPad(index, pad)) {
        HeldSinceChange[index] = 0;
        return 0;
    }
    const uint32_t held = HeldButtons(pad);
    HeldSinceChange[index] &= held;
    return held & ~HeldSinceChange[index];
}

bool Held(const platform::PadReading& pad, PadButton button) {
    return pad.buttons[static_cast<int>(button)] != 0;
}

// -1, 0 or +1: the d-pad first, else the left stick past the dead zone. A
// direction held into a new screen counts at once, as a held key does.
int32_t Direction(const platform::PadReading& pad) {
    if (Held(pad, PadButton::DpadLeft)) return -1;
    if (Held(pad, PadButton::DpadRight)) return 1;
    const int32_t x = pad.axes[static_cast<int>(PadAxis::LeftX)];
    if (x < -PadDeadZone) return -1;
    if (x > PadDeadZone) return 1;
    return 0;
}

// Stick tilt beyond the dead zone scales from 1 to PadMouseSpeed pixels, so a
// light touch places the paddle finely and a full tilt sweeps it; the d-pad
// is a full tilt.
int32_t MouseStep(const platform::PadReading& pad) {
    if (Held(pad, PadButton::DpadLeft)) return -PadMouseSpeed;
    if (Held(pad, PadButton::DpadRight)) return PadMouseSpeed;
    const int32_t x = pad.axes[static_cast<int>(PadAxis::LeftX)];
    const int32_t tilt = x < 0 ? -x : x;
    if (tilt <= PadDeadZone) return 0;
    constexpr int32_t Range = 32767 - PadDeadZone;
    const int32_t over = tilt > 32767 ? Range : tilt - PadDeadZone;
    const int32_t step = 1 + over * (PadMouseSpeed - 1) / Range;
    return x < 0 ? -step : step;
}

// What a player looks for first: the face buttons and Start/Back, as named
// on the menu picture.
struct MenuButton {
    PadButton button;
    uint8_t key;
};
constexpr MenuButton MenuButtons[] = {
    {PadButton::Start, DIK_1}, {PadButton::A, DIK_1},  // one player
    {PadButton::Back, DIK_2},  {PadButton::X, DIK_2},  // two players
    {PadButton::Y, DIK_M},                             // music on or off
    {PadButton::B, DIK_Q},                             // quit
};

void PressMenuKeys(uint8_t keys[256]) {
    for (int32_t index = 0; index < platform::MaxPads; ++index) {
        platform::PadReading pad{};
        const uint32_t buttons = ReadButtons(index, pad);
        for (const MenuButton& m : MenuButtons) {
            if ((buttons & Bit(m.button)) != 0) keys[m.key] = 0x80;
        }
    }
}

// Pad 1 holds the bottom player's keys, pad 2 the top player's; the south
// button is Space, which serves for either side.
void PressPlayerKeys(uint8_t keys[256]) {
    const uint8_t* const bound[2][2] = {{&Player1Left, &Player1Right},
                                        {&Player2Left, &Player2Right}};
    for (int32_t index = 0; index < 2 && index < platform::MaxPads; ++index) {
        platform::PadReading pad{};
        const uint32_t buttons = ReadButtons(index, pad);
        const int32_t direction = Direction(pad);
        if (direction < 0) keys[*bound[index][0]] = 0x80;
        if (direction > 0) keys[*bound[index][1]] = 0x80;
        if ((buttons & Bit(PadButton::A)) != 0) keys[DIK_SPACE] = 0x80;
    }
}

}  // namespace

void HoldPadButtonsBack() {
    for (int32_t index = 0; index < platform::MaxPads; ++index) {
        platform::PadReading pad{};
        HeldSinceChange[index] = platform::ReadPad(index, pad) ? HeldButtons(pad) : 0;
    }
}

void PressPadKeys(uint8_t keys[256]) {
    if (ControlsInUse == Controls::Menu) {
        PressMenuKeys(keys);
    } else if (ControlsInUse == Controls::Match && GameMode == MODE_TWO_PLAYERS) {
        PressPlayerKeys(keys);
    }
}

void MovePadMouse(MouseStateRecord& mouse) {
    if (ControlsInUse != Controls::Match || GameMode != MODE_AGAINST_COMPUTER) return;
    platform::PadReading pad{};
    const uint32_t buttons = ReadButtons(0, pad);
    // Saturating, like motion piled up in the device.
    const int64_t x = static_cast<int64_t>(mouse.x) + MouseStep(pad);
    mouse.x = static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
    if ((buttons & Bit(PadButton::A)) != 0) mouse.buttons[0] = 0x80;
}

bool PadEscapeHeld() {
    if (ControlsInUse != Controls::Match) return false;
    bool held = false;
    for (int32_t index = 0; index < platform::MaxPads; ++index) {
        platform::PadReading pad{};
        if ((ReadButtons(index, pad) & Bit(PadButton::Start)) != 0) held = true;
    }
    return held;
}
