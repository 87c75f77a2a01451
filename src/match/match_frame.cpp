#include "match/match_frame.h"

#include "clock/frame_clock.h"
#include "clock/random.h"
#include "graphics/bob.h"
#include "match/match.h"
#include "match/match_balls.h"
#include "match/match_display.h"
#include "match/match_input.h"
#include "match/match_paddles.h"
#include "sound/sound.h"

namespace {

constexpr uint32_t FrameMs = 33;
constexpr int32_t BallSpeed = 5;

void Serve() {
    MatchState = MATCH_BALL_IN_PLAY;
    SeedRandomFromClock();
    if (ServingSide == SIDE_BOTTOM) {
        const int32_t xVelocity = NextRandom() % 2 == 0 ? BallSpeed : -BallSpeed;
        SetBobVelocity(&Ball1, xVelocity, -BallSpeed);
    } else if (ServingSide == SIDE_TOP) {
        const int32_t xVelocity = NextRandom() % 2 == 0 ? BallSpeed : -BallSpeed;
        SetBobVelocity(&Ball1, xVelocity, BallSpeed);
    }
}

bool InSplitWindow(const Bob& ball) {
    return ball.x > 140 && ball.x < 500 && ball.y > 100 && ball.y < 350;
}

// A chance in each frame the timer reads 31 to 36; the first chance taken
// starts the count again, split or not.
void RunSplitRule() {
    if (BallsInPlay == 2) {
        SplitTimer = 0;
        return;
    }
    if (SplitTimer > 35) {
        SplitTimer = 0;
        return;
    }
    SplitTimer += 1;
    if (SplitTimer <= 30 || BallsInPlay != 1 || Ball1.state != BOB_STATE_ALIVE ||
        MatchState == MATCH_AWAITING_SERVE || !InSplitWindow(Ball1)) {
        return;
    }

    SplitTimer = 0;
    SeedRandomFromClock();
    if (NextRandom() % 5 != 0) return;

    // The new ball starts on the old one's pixel and flies the other way.
    PlaySound(SplitSoundId, 0);
    ShowBob(&Ball2);
    SetBobPosition(&Ball2, Ball1.x, Ball1.y);
    SetBobVelocity(&Ball2, -Ball1.xVelocity, -Ball1.yVelocity);
    BallsInPlay += 1;
    Ball2.state = BOB_STATE_ALIVE;
}

// When the first ball has gone out and the second plays on, the second
// becomes the first, so a single ball in play is always Ball1.
void LetBall2TakeOver() {
    if (Ball1.state != BOB_STATE_DEAD || Ball2.state != BOB_STATE_ALIVE) return;
    Ball1.state = BOB_STATE_ALIVE;
    Ball2.state = BOB_STATE_DEAD;
    SetBobPosition(&Ball1, Ball2.x, Ball2.y);
    SetBobVelocity(&Ball1, Ball2.xVelocity, Ball2.yVelocity);
    HideBob(&Ball2);
    ShowBob(&Ball1);
    SetBobVelocity(&Ball2, 0, 0);
    SetBobPosition(&Ball2, 60, 60);
}

}  // namespace

int32_t MatchFrame() {
    if ((FrameInput.held & INPUT_ESCAPE) != 0) return FRAME_MATCH_LEFT;
    return PlayMatchFrame();
}

int32_t PlayMatchFrame() {
    // The frame is timed from here: whatever ran before it does not count.
    StartFrameClock();

    if ((FrameInput.held & INPUT_MATCH_POINT) != 0) Player1Score = WINNING_SCORE - 1;

    if (MatchState == MATCH_AWAITING_SERVE && (FrameInput.held & INPUT_SERVE) != 0) Serve();

    RunSplitRule();
    LetBall2TakeOver();

    MovePaddlesByInput();
    MoveComputerPaddle();
    KeepPaddlesInCourt();

    if (!MoveBalls()) return FRAME_MATCH_OVER;
    FinishMatchFrame();
    return FRAME_PLAYED;
}

void FinishMatchFrame() {
    if (MatchState != MATCH_EXITING) DrawMatchScreen();
    WaitFrameClock(FrameMs);
}
