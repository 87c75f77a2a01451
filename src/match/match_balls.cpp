#include "match/match_balls.h"

#include "graphics/bob.h"
#include "graphics/display.h"
#include "match/after_point.h"
#include "match/match.h"
#include "match/match_display.h"
#include "sound/sound.h"

namespace {

// Rows of the screen: the hit tests never look at the paddles' y.
constexpr int32_t BottomReach = 438;
constexpr int32_t TopReach = 30;
constexpr int32_t TopLine = 20;
constexpr int32_t BottomLine = 445;
constexpr int32_t WallMargin = 22;

// Set when a point ended the match in this step: the balls are left as the
// end of the match left them, and the rest of the step passes them by.
bool MatchOver = false;

// A player's return turns the ball towards the way the paddle moved this
// frame; the computer's paddle has direction 0 and never turns it.
void Return(Bob& ball, const Bob& paddle) {
    if ((paddle.xVelocity < 0 && ball.xVelocity > 0) ||
        (paddle.xVelocity > 0 && ball.xVelocity < 0)) {
        ball.xVelocity = -ball.xVelocity;
    }
    ball.yVelocity = -ball.yVelocity;
    PlaySound(BoingSoundId, 0);
}

void ScorePoint(Bob& ball, int32_t& score) {
    PlaySound(BuzzerSoundId, 0);
    score += 1;
    HideBob(&ball);
    ball.y = 60;
    SetBobVelocity(&ball, 0, 0);
    ball.state = BOB_STATE_DEAD;
    if (BallsInPlay > 0) BallsInPlay -= 1;
}

// The rally ends when no ball is left, or at once when the scorer has won.
void EndRallyIfOver(int32_t scorer, int32_t score) {
    if (BallsInPlay != 0 && score != WINNING_SCORE) return;
    ServingSide = scorer;
    MatchState = MATCH_AWAITING_SERVE;
    if (ServeAfterPoint() == 0) MatchOver = true;
}

void StepBall(Bob& ball) {
    int32_t d = ball.x - Paddle1.x;
    if (d <= Paddle1.width && d >= 0 && ball.y >= BottomReach && ball.yVelocity > 0) {
        Return(ball, Paddle1);
    }

    // Strictly less here: the top paddle is one pixel short on its right.
    d = ball.x - Paddle2.x;
    if (d < Paddle2.width && d >= 0 && ball.y <= TopReach && ball.yVelocity < 0) {
        Return(ball, Paddle2);
    }

    // A ball just turned above can still be out in the same step.
    if (ball.y < TopLine) {
        ScorePoint(ball, Player1Score);
        EndRallyIfOver(SIDE_BOTTOM, Player1Score);
        if (MatchOver) return;
    }

    if (ball.y > BottomLine) {
        ScorePoint(ball, Player2Score);
        EndRallyIfOver(SIDE_TOP, Player2Score);
        if (MatchOver) return;
    }

    // Position only, not direction: a ball outside turns in every frame.
    if (ball.x > ScreenWidth - ball.width - WallMargin || ball.x < WallMargin) {
        PlaySound(BoingSoundId, 0);
        SetBobVelocity(&ball, -ball.xVelocity, ball.yVelocity);
    }

    ball.x += ball.xVelocity;
    ball.y += ball.yVelocity;
}

}  // namespace

bool MoveBalls() {
    MatchOver = false;

    // The set of balls is fixed here, before any of them moves.
    const bool first = Ball1.state == BOB_STATE_ALIVE && Ball2.state == BOB_STATE_DEAD;
    const bool second = !first && Ball2.state == BOB_STATE_ALIVE && Ball1.state == BOB_STATE_DEAD;

    if (first) {
        StepBall(Ball1);
    } else if (second) {
        StepBall(Ball2);
    } else {
        StepBall(Ball1);
        if (!MatchOver) StepBall(Ball2);
    }
    return !MatchOver;
}
