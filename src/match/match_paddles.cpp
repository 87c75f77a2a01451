#include "match/match_paddles.h"

#include "graphics/display.h"
#include "match/match.h"
#include "match/match_input.h"

namespace {

bool Held(uint8_t bit) { return (FrameInput.held & bit) != 0; }

// Moves one paddle by the keys; the ball resting on it for a serve rides along.
void StepPaddle(Bob& paddle, int32_t side, int32_t direction) {
    paddle.x += direction * PaddleStep;
    if (MatchState == MATCH_AWAITING_SERVE && ServingSide == side)
        Ball1.x += direction * PaddleStep;
    paddle.xVelocity = direction;
}

// Steps the paddle's left edge towards the target's left edge. Out and
// straight back when the target is 1 to 6 pixels to the right.
void Follow(const Bob& target) {
    if (target.x > Paddle2.x) Paddle2.x += PaddleStep;
    if (target.x < Paddle2.x) Paddle2.x -= PaddleStep;
}

}  // namespace

void MovePaddlesByInput() {
    Paddle1.xVelocity = 0;
    Paddle2.xVelocity = 0;

    if (GameMode == MODE_AGAINST_COMPUTER) {
        // The whole x motion since the last read, however far: the bounds
        // step catches it.
        const int32_t dx = FrameInput.mouseX;
        Paddle1.x += dx;
        if (MatchState == MATCH_AWAITING_SERVE && ServingSide == SIDE_BOTTOM) Ball1.x += dx;
        Paddle1.xVelocity = dx;
    } else if (GameMode == MODE_TWO_PLAYERS) {
        // Each key on its own: both keys of a player cancel out, direction +1.
        if (Held(INPUT_P1_LEFT)) StepPaddle(Paddle1, SIDE_BOTTOM, -1);
        if (Held(INPUT_P1_RIGHT)) StepPaddle(Paddle1, SIDE_BOTTOM, +1);
        if (Held(INPUT_P2_LEFT)) StepPaddle(Paddle2, SIDE_TOP, -1);
        if (Held(INPUT_P2_RIGHT)) StepPaddle(Paddle2, SIDE_TOP, +1);
    }
}

void MoveComputerPaddle() {
    if (GameMode != MODE_AGAINST_COMPUTER) return;

    if (MatchState == MATCH_AWAITING_SERVE) {
        // Its own serve waits for the player's click, standing still.
        if (ServingSide == SIDE_BOTTOM) Follow(Ball1);
        return;
    }

    if (BallsInPlay == 2) {
        // The second ball only while it comes up and is the higher one.
        if (Ball2.yVelocity < 0 && Ball2.y < Ball1.y) {
            Follow(Ball2);
        } else {
            Follow(Ball1);
        }
    } else if (BallsInPlay == 1) {
        Follow(Ball1);
    }
}

void KeepPaddlesInCourt() {
    // Both limits come from the bottom paddle's width.
    const int32_t right = ScreenWidth - Paddle1.width - 20;

    if (Paddle1.x < 22) Paddle1.x = 22;
    if (Paddle1.x > right) Paddle1.x = right;
    if (Paddle2.x < 22) Paddle2.x = 22;
    if (Paddle2.x > right) Paddle2.x = right;

    if (MatchState == MATCH_AWAITING_SERVE) {
        // The paddle limits shifted by the ball's resting offset of 30.
        const int32_t ballRight = ScreenWidth - Paddle1.width + 10;
        if (Ball1.x < 52) Ball1.x = 52;
        if (Ball1.x > ballRight) Ball1.x = ballRight;
    }
}
