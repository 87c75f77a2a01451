#include "match/match_display.h"

#include <cstdio>
#include <cstring>

#include "common/layout.h"
#include "frontend/assets.h"
#include "graphics/bitmap_image.h"
#include "graphics/bob.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "match/match.h"

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
