#include "match/match_display.h"

#include <cstdio>
#include <cstring>

#include "common/layout.h"
#include "frontend/assets.h"
#include "graphics/blitter.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "input/controls.h"
#include "match/match.h"
#include "platform/platform.h"
#include "sound/sound.h"

namespace {

constexpr uint32_t White = 0xFFFFFF;

void DrawBackground() {
    LockBackBuffer();
    if (BackPixels != nullptr && BackgroundIndex >= 0 && BackgroundIndex < 6) {
        DrawBitmapImage(&Backgrounds[BackgroundIndex], BackPixels, BackPitch, 0);
    }
    UnlockBackBuffer();
}

void DrawScores() {
    std::snprintf(TextBuffer, sizeof TextBuffer, "Player 1 - %d", static_cast<int>(Player1Score));
    DrawTextRgb(TextBuffer, 20, 1, White, BackSurface);

    // Right-aligned by a fixed 6 pixels a character.
    std::snprintf(TextBuffer, sizeof TextBuffer, "Player 2 - %d", static_cast<int>(Player2Score));
    const auto length = static_cast<int32_t>(std::strlen(TextBuffer));
    DrawTextRgb(TextBuffer, 620 - 6 * length, 1, White, BackSurface);
}

void DrawServePrompt() {
    // The final frame of a match shows no prompt, though a serve is "awaited".
    if (MatchState != MATCH_AWAITING_SERVE || Player1Score == WINNING_SCORE ||
        Player2Score == WINNING_SCORE) {
        return;
    }
    if (GameMode == MODE_AGAINST_COMPUTER) {
        DrawTextIndexed("click to continue", 265, 235, PROMPT_COLOUR, BackSurface);
    } else if (GameMode == MODE_TWO_PLAYERS) {
        DrawTextIndexed("press space to continue", 235, 235, PROMPT_COLOUR, BackSurface);
    }
}

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

int32_t DrawMatchScreen() {
    DrawBackground();

    // Paddles last, so they lie over the balls.
    DrawBob(&Ball1, BackSurface);
    DrawBob(&Ball2, BackSurface);
    DrawBob(&Paddle1, BackSurface);
    DrawBob(&Paddle2, BackSurface);

    DrawScores();
    DrawServePrompt();
    FlipDisplay();
    return 1;
}

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
