#include "match/after_point.h"

#include <cstdio>

#include "graphics/bob.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "input/controls.h"
#include "match/match.h"
#include "match/match_display.h"
#include "platform/platform.h"
#include "sound/sound.h"

namespace {

constexpr uint32_t White = 0xFFFFFF;

void ShowFinalScores() {
    SetControls(Controls::Still);
    platform::Sleep(600);
    StopSound(MusicSoundId);
    PlaySound(SpikeSoundId, 0);

    // Straight onto the visible frame: it stays there until the menu fades it.
    std::snprintf(TextBuffer, sizeof TextBuffer, "Player one score - %d",
                  static_cast<int>(Player1Score));
    DrawTextRgb(TextBuffer, 250, 230, White, PrimarySurface);
    std::snprintf(TextBuffer, sizeof TextBuffer, "Player two score - %d",
                  static_cast<int>(Player2Score));
    DrawTextRgb(TextBuffer, 250, 245, White, PrimarySurface);

    platform::Sleep(4000);
}

}  // namespace

int32_t ServeAfterPoint() {
    ShowBob(&Ball1);
    HideBob(&Ball2);
    Ball2.state = BOB_STATE_DEAD;
    Ball1.state = BOB_STATE_ALIVE;
    BallsInPlay = 1;

    SetBobVelocity(&Ball1, 0, 0);
    if (ServingSide == SIDE_BOTTOM) {
        SetBobPosition(&Ball1, Paddle1.x + 30, 440);
    } else if (ServingSide == SIDE_TOP) {
        SetBobPosition(&Ball1, Paddle2.x + 30, 29);
    }

    DrawMatchScreen();

    if (Player1Score < WINNING_SCORE && Player2Score < WINNING_SCORE) return 1;

    // The same ending whichever side won: the screen never names a winner.
    ShowFinalScores();
    return 0;
}
