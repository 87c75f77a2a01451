// Paddles: keys, mouse, the computer opponent and the limits of the court.
#include "input/key_codes.h"
#include "match/after_point.h"
#include "match/match.h"
#include "match/match_display.h"
#include "match/match_frame.h"
#include "match_fixture.h"
#include "platform/headless/headless.h"

namespace {

using PaddlesTest = MatchTest;

TEST_F(PaddlesTest, KeysMoveEachPaddleSevenAndCarryOnlyTheServersBall) {
    // Bottom serves: Player 1's keys carry the ball, Player 2's do not.
    headless::SetKey(DIK_A, true);
    headless::SetKey(DIK_RIGHT, true);
    Frame();
    EXPECT_EQ(Paddle1.x, 273);
    EXPECT_EQ(Paddle1.xVelocity, -1);
    EXPECT_EQ(Paddle2.x, 287);
    EXPECT_EQ(Paddle2.xVelocity, 1);
    EXPECT_EQ(Ball1.x, 303);
    EXPECT_EQ(Ball1.y, 440);

    // Both keys of one player: they cancel out, the last one sets the direction.
    ReleaseInput();
    headless::SetKey(DIK_LEFT, true);
    headless::SetKey(DIK_RIGHT, true);
    Frame();
    EXPECT_EQ(Paddle2.x, 287);
    EXPECT_EQ(Paddle2.xVelocity, 1);
    EXPECT_EQ(Paddle1.xVelocity, 0);
}

TEST_F(PaddlesTest, TopServersBallRidesOnPlayerTwoKeys) {
    ServingSide = SIDE_TOP;
    ServeAfterPoint();
    headless::SetKey(DIK_LEFT, true);
    headless::SetKey(DIK_D, true);
    Frame();
    EXPECT_EQ(Paddle2.x, 273);
    EXPECT_EQ(Ball1.x, 303);
    EXPECT_EQ(Ball1.y, 29);
    EXPECT_EQ(Paddle1.x, 287);
}

TEST_F(PaddlesTest, KeyPaddlesStopAtTheCourtLimits) {
    headless::SetKey(DIK_A, true);
    headless::SetKey(DIK_RIGHT, true);
    for (int i = 0; i < 50; ++i) Frame();
    EXPECT_EQ(Paddle1.x, 22);
    EXPECT_EQ(Ball1.x, 52);
    // The top paddle's limit comes from the bottom paddle's width: 640-66-20.
    EXPECT_EQ(Paddle2.x, 554);
}

TEST_F(PaddlesTest, MouseMotionMovesPaddleAndRestingBallWithinLimits) {
    GameMode = MODE_AGAINST_COMPUTER;
    headless::AddMouseMotion(1000, 40);
    Frame();
    EXPECT_EQ(Paddle1.x, 554);
    EXPECT_EQ(Paddle1.xVelocity, 1000);
    EXPECT_EQ(Ball1.x, 584);
    EXPECT_EQ(Ball1.y, 440);

    headless::AddMouseMotion(-2000, 0);
    Frame();
    EXPECT_EQ(Paddle1.x, 22);
    EXPECT_EQ(Ball1.x, 52);

    // In play the ball no longer rides on the paddle.
    StartRally(300, 200, 5, 5);
    headless::AddMouseMotion(30, 0);
    Frame();
    EXPECT_EQ(Paddle1.x, 52);
    EXPECT_EQ(Ball1.x, 305);
}

TEST_F(PaddlesTest, ComputerStepsSevenTowardsTheBallsLeftEdge) {
    GameMode = MODE_AGAINST_COMPUTER;
    const struct {
        int32_t ballX, expected;
    } cases[] = {{110, 107}, {105, 100}, {101, 100}, {100, 100}, {99, 93}, {30, 93}};
    for (const auto& c : cases) {
        StartRally(c.ballX, 200, 5, 5);
        Paddle2.x = 100;
        Frame();
        EXPECT_EQ(Paddle2.x, c.expected) << "ball at " << c.ballX;
        EXPECT_EQ(Paddle2.xVelocity, 0);
    }
}

TEST_F(PaddlesTest, ComputerFollowsSecondBallOnlyWhenItComesUpHigher) {
    GameMode = MODE_AGAINST_COMPUTER;
    const struct {
        int32_t ball2Y, ball2Vy, expected;
    } cases[] = {
        {200, -5, 293},  // higher and coming up: the second ball
        {200, 5, 307},   // going away: the first ball, though it goes away too
        {350, -5, 307},  // coming up but lower: the first ball
    };
    for (const auto& c : cases) {
        StartRally(400, 300, 5, 5);
        PlaceBall(Ball2, 200, c.ball2Y, -5, c.ball2Vy);
        BallsInPlay = 2;
        Paddle2.x = 300;
        Frame();
        EXPECT_EQ(Paddle2.x, c.expected) << "second ball at y " << c.ball2Y;
    }
}

TEST_F(PaddlesTest, ComputerWaitsStillForItsOwnServeAndTracksThePlayers) {
    GameMode = MODE_AGAINST_COMPUTER;
    ServingSide = SIDE_TOP;
    Paddle2.x = 100;
    ServeAfterPoint();
    headless::AddMouseMotion(50, 0);
    headless::SetKey(DIK_RIGHT, true);  // Player 2's keys do nothing in mode 1
    for (int i = 0; i < 5; ++i) Frame();
    EXPECT_EQ(MatchState, MATCH_AWAITING_SERVE);
    EXPECT_EQ(Paddle2.x, 100);
    EXPECT_EQ(Ball1.x, 130);
    EXPECT_EQ(Paddle1.x, 330);

    // While the player serves, the computer follows the resting ball.
    ServingSide = SIDE_BOTTOM;
    ServeAfterPoint();
    Frame();
    EXPECT_EQ(Paddle2.x, 107);
}

}  // namespace
