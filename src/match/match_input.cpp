#include "match/match_input.h"

#include <algorithm>

#include "frontend/key_bindings.h"
#include "input/controls.h"
#include "input/input.h"
#include "input/key_codes.h"
#include "input/pads.h"
#include "match/match.h"
#include "platform/platform.h"

using platform::PadButton;

namespace {

// Pad 1 holds the bottom player's keys, pad 2 the top player's; the south
// button is Space, which serves for either side.
void PressPadPlayerKeys() {
    const uint8_t* const bound[2][2] = {{&Player1Left, &Player1Right},
                                        {&Player2Left, &Player2Right}};
    for (int32_t index = 0; index < 2; ++index) {
        platform::PadReading pad{};
        const uint32_t buttons = ReadPadButtons(index, pad);
        const int32_t direction = PadDirection(pad);
        if (direction < 0) KeyState[*bound[index][0]] = 0x80;
        if (direction > 0) KeyState[*bound[index][1]] = 0x80;
        if ((buttons & PadBit(PadButton::A)) != 0) KeyState[DIK_SPACE] = 0x80;
    }
}

// The first pad's motion and serve, added to the mouse's.
void MovePadMouse() {
    platform::PadReading pad{};
    const uint32_t buttons = ReadPadButtons(0, pad);
    // Saturating, like motion piled up in the device.
    const int64_t x = static_cast<int64_t>(MouseState.x) + PadMouseStep(pad);
    MouseState.x = static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
    if ((buttons & PadBit(PadButton::A)) != 0) MouseState.buttons[0] = 0x80;
}

// U sets Player 1 on match point, unless U is one of the players' keys:
// then it moves a paddle and nothing else.
bool UMeansMatchPoint() {
    if (KeyState[DIK_U] == 0) return false;
    for (uint8_t key : {Player1Left, Player1Right, Player2Left, Player2Right}) {
        if (key == DIK_U) return false;
    }
    return true;
}

// Against the computer the click serves for either side, so the computer's
// serve waits for the player too.
bool ServePressed() {
    return (GameMode == MODE_AGAINST_COMPUTER && MouseState.buttons[0] != 0) ||
           (KeyState[DIK_SPACE] != 0 && GameMode == MODE_TWO_PLAYERS);
}

uint8_t Bit(bool held, uint8_t bit) { return held ? bit : 0; }

// Against the computer Player 1's keys steer too, as fast as a pad's full
// lean, and Space serves as the click does. No key, no change.
void MoveKeyboardMouse() {
    int32_t step = 0;
    if (KeyState[Player1Left] != 0) step -= PadMouseSpeed;
    if (KeyState[Player1Right] != 0) step += PadMouseSpeed;
    const int64_t x = static_cast<int64_t>(MouseState.x) + step;
    MouseState.x = static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
    if (KeyState[DIK_SPACE] != 0) MouseState.buttons[0] = 0x80;
}

}  // namespace

MatchInput FrameInput = {};

void ReadPlayersInput() {
    ReadKeyboard();
    ReadMouse();
    if (ControlsInUse == Controls::Match) {
        if (GameMode == MODE_TWO_PLAYERS) PressPadPlayerKeys();
        if (GameMode == MODE_AGAINST_COMPUTER) {
            MovePadMouse();
            MoveKeyboardMouse();
        }
    }
    FrameInput.held = Bit(KeyState[Player1Left] != 0, INPUT_P1_LEFT) |
                      Bit(KeyState[Player1Right] != 0, INPUT_P1_RIGHT) |
                      Bit(KeyState[Player2Left] != 0, INPUT_P2_LEFT) |
                      Bit(KeyState[Player2Right] != 0, INPUT_P2_RIGHT) |
                      Bit(ServePressed(), INPUT_SERVE) | Bit(UMeansMatchPoint(), INPUT_MATCH_POINT);
    FrameInput.mouseX = MouseState.x;
}

void ReadMatchInput() {
    if (EscapeHeld()) {
        FrameInput = {INPUT_ESCAPE, 0};
        return;
    }
    ReadPlayersInput();
}

uint8_t ReadOwnSideInput() {
    ReadKeyboard();
    platform::PadReading pad{};
    const uint32_t buttons = ReadPadButtons(0, pad);
    const int32_t direction = PadDirection(pad);
    return Bit(KeyState[Player1Left] != 0 || direction < 0, ONLINE_LEFT) |
           Bit(KeyState[Player1Right] != 0 || direction > 0, ONLINE_RIGHT) |
           Bit(KeyState[DIK_SPACE] != 0 || (buttons & PadBit(PadButton::A)) != 0, ONLINE_SERVE);
}

void SetSidesInput(uint8_t bottom, uint8_t top) {
    const bool awaiting = MatchState == MATCH_AWAITING_SERVE;
    const bool bottomServes =
        awaiting && ServingSide == SIDE_BOTTOM && (bottom & ONLINE_SERVE) != 0;
    const bool topServes = awaiting && ServingSide == SIDE_TOP && (top & ONLINE_SERVE) != 0;
    FrameInput.held = Bit((bottom & ONLINE_LEFT) != 0, INPUT_P1_LEFT) |
                      Bit((bottom & ONLINE_RIGHT) != 0, INPUT_P1_RIGHT) |
                      Bit((top & ONLINE_LEFT) != 0, INPUT_P2_LEFT) |
                      Bit((top & ONLINE_RIGHT) != 0, INPUT_P2_RIGHT) |
                      Bit(bottomServes || topServes, INPUT_SERVE);
    FrameInput.mouseX = 0;
}
