#include "match/match_pause.h"

#include "common/layout.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "input/controls.h"
#include "input/input.h"
#include "input/key_codes.h"
#include "match/match.h"
#include "platform/platform.h"

namespace {

constexpr uint64_t PauseStepUs = 33'000;
constexpr int32_t PausedX = 296;
constexpr int32_t PausedY = 230;

bool PauseKeyHeld = false;  // Pause was down at the last look: a press counts once

// A new press of Pause, from the keyboard record read last.
bool PausePressed() {
    const bool down = KeyState[DIK_PAUSE] != 0;
    const bool pressed = down && !PauseKeyHeld;
    PauseKeyHeld = down;
    return pressed;
}

}  // namespace

void PauseWhileAway() {
    if (ControlsInUse != Controls::Match || MatchState == MATCH_EXITING) return;
    bool byKey = PausePressed();
    if (!byKey && !platform::WindowAway()) return;

    DrawTextIndexed("Paused", PausedX, PausedY, PROMPT_COLOUR, PrimarySurface);
    while (!platform::CloseRequested()) {
        platform::WaitUntil(platform::PreciseTime() + PauseStepUs);
        ReadKeyboard();
        if (PausePressed()) byKey = !byKey;
        if (!byKey && !platform::WindowAway()) break;
    }
    // What the mouse did meanwhile is not a move of the paddle.
    ReadMouse();
}
