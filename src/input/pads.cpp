#include "input/pads.h"

#include "input/controls.h"
#include "input/key_codes.h"
#include "platform/platform.h"

using platform::PadAxis;
using platform::PadButton;

namespace {

// Buttons held when the screen last changed, per pad, one bit per button;
// a bit clears when its button is seen up.
uint32_t HeldSinceChange[platform::MaxPads];

uint32_t HeldButtons(const platform::PadReading& pad) {
    uint32_t held = 0;
    for (int i = 0; i < static_cast<int>(PadButton::Count); ++i) {
        if (pad.buttons[i] != 0) held |= 1u << i;
    }
    return held;
}

bool Held(const platform::PadReading& pad, PadButton button) {
    return pad.buttons[static_cast<int>(button)] != 0;
}

}  // namespace

uint32_t ReadPadButtons(int32_t index, platform::PadReading& pad) {
    if (!platform::ReadPad(index, pad)) {
        HeldSinceChange[index] = 0;
        return 0;
    }
    const uint32_t held = HeldButtons(pad);
    HeldSinceChange[index] &= held;
    return held & ~HeldSinceChange[index];
}

int32_t PadDirection(const platform::PadReading& pad) {
    if (Held(pad, PadButton::DpadLeft)) return -1;
    if (Held(pad, PadButton::DpadRight)) return 1;
    const int32_t x = pad.axes[static_cast<int>(PadAxis::LeftX)];
    if (x < -PadDeadZone) return -1;
    if (x > PadDeadZone) return 1;
    return 0;
}

int32_t PadMouseStep(const platform::PadReading& pad) {
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

namespace {

// What a player looks for first: the face buttons and Start/Back, as named
// on the menu picture.
struct MenuButton {
    PadButton button;
    uint8_t key;  // a key code, or a lower-case letter
};
constexpr MenuButton MenuButtons[] = {
    {PadButton::Start, DIK_1}, {PadButton::A, DIK_1},  // one player
    {PadButton::Back, DIK_2},  {PadButton::X, DIK_2},  // two players
    {PadButton::Y, 'm'},                               // music on or off
    {PadButton::B, 'q'},                               // quit
};

void PressMenuKeys(uint8_t keys[256]) {
    for (int32_t index = 0; index < platform::MaxPads; ++index) {
        platform::PadReading pad{};
        const uint32_t buttons = ReadPadButtons(index, pad);
        for (const MenuButton& m : MenuButtons) {
            if ((buttons & PadBit(m.button)) == 0) continue;
            // A letter is the key that types it on the player's layout.
            const bool letter = m.key >= 'a' && m.key <= 'z';
            const uint8_t key = letter ? platform::KeyForLetter(static_cast<char>(m.key)) : m.key;
            if (key != 0) keys[key] = 0x80;
        }
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
    if (ControlsInUse == Controls::Menu) PressMenuKeys(keys);
}

bool PadEscapeHeld() {
    if (ControlsInUse != Controls::Match) return false;
    bool held = false;
    for (int32_t index = 0; index < platform::MaxPads; ++index) {
        platform::PadReading pad{};
        if ((ReadPadButtons(index, pad) & PadBit(PadButton::Start)) != 0) held = true;
    }
    return held;
}
