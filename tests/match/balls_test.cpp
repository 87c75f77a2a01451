// Balls: paddle hits, scoring lines, side walls and the end of a rally.
#include "frontend/key_bindings.h"
#include "frontend/main_menu.h"
#include "graphics/transitions.h"
#include "input/key_codes.h"
#include "match/match.h"
#include "match/match_display.h"
#include "match/match_frame.h"
#include "match_fixture.h"
#include "platform/headless/headless.h"
#include "shell/shell.h"

namespace {

using BallsTest = MatchTest;

// Paddle1 and Paddle2 stand at x 280 (SetUp); mode 2 with no key held.
TEST_F(BallsTest, BottomPaddleReachesItsFullWidthTopPaddleOnePixelLess) {
    const struct {
        int32_t x, y, vy;
        bool returned;
    } cases[] = {
        {346, 440, 5, true},    // bottom: x + 66
        {347, 440, 5, false},   // bottom: one past
        {280, 440, 5, true},    // bottom: left edge
        {279, 440, 5, false},   // bottom: one before
        {344, 30, -5, true},    // top: x + 64
        {345, 30, -5, false},   // top: x + 65 passes
        {280, 30, -5, true},    // top: left edge
        {300, 437, 5, false},   // bottom: one row short of the reach
        {300, 31, -5, false},   // top: one row short of the reach
        {300, 440, -5, false},  // bottom: moving away from the paddle
    };
    for (const auto& c : cases) {
        StartRally(c.x, c.y, 5, c.vy);
        Frame();
        EXPECT_EQ(Ball1.yVelocity, c.returned ? -c.vy : c.vy) << c.x << "," << c.y;
        EXPECT_EQ(Ball1.y, c.y + Ball1.yVelocity) << c.x << "," << c.y;
    }
}

TEST_F(BallsTest, RowsWithinReachOfEachPaddle) {
    // Rows of multiples of 5 (served from the bottom) and of 5k + 4 (from the top).
    const struct {
        int32_t y, vy;
        bool returned;
    } cases[] = {{35, -5, false}, {30, -5, true},  {25, -5, true},  {20, -5, true},
                 {29, -5, true},  {24, -5, true},  {435, 5, false}, {440, 5, true},
                 {445, 5, true},  {434, 5, false}, {439, 5, true},  {444, 5, true}};
    for (const auto& c : cases) {
        StartRally(300, c.y, 5, c.vy);
        recorder.Clear();
        Frame();
        EXPECT_EQ(Ball1.yVelocity, c.returned ? -c.vy : c.vy) << "row " << c.y;
        EXPECT_EQ(recorder.CountPlayed("BOING.WAV"), c.returned ? 1 : 0) << "row " << c.y;
        EXPECT_EQ(Player1Score + Player2Score, 0) << "row " << c.y;
    }
}

TEST_F(BallsTest, BallTurnedAndOutInOneStepScoresAndTheScorerServes) {
    StartRally(300, 15, 5, -5);  // under the top paddle, past the top line
    Frame();
    EXPECT_EQ(Player1Score, 1);
    EXPECT_EQ(ServingSide, SIDE_BOTTOM);
    EXPECT_EQ(MatchState, MATCH_AWAITING_SERVE);
    EXPECT_EQ(Ball1.x, Paddle1.x + 30);
    EXPECT_EQ(Ball1.y, 440);

    recorder.Clear();
    StartRally(300, 450, 5, 5);  // over the bottom paddle, past the bottom line
    Frame();
    EXPECT_EQ(Player2Score, 1);
    ASSERT_EQ(recorder.sounds.size(), 2u);
    EXPECT_EQ(recorder.sounds[0].name, "BOING.WAV");
    EXPECT_EQ(recorder.sounds[1].name, "BUZZER.WAV");
    EXPECT_FALSE(recorder.sounds[1].loop);
    // The top side scored: it serves next, the ball resting under its paddle.
    EXPECT_EQ(ServingSide, SIDE_TOP);
    EXPECT_EQ(MatchState, MATCH_AWAITING_SERVE);
    EXPECT_EQ(Ball1.state, BOB_STATE_ALIVE);
    EXPECT_EQ(Ball1.x, Paddle2.x + 30);
    EXPECT_EQ(Ball1.y, 29);
    EXPECT_EQ(Ball1.xVelocity, 0);
    EXPECT_EQ(Ball1.yVelocity, 0);
}

TEST_F(BallsTest, PlayerReturnTurnsTowardsThePaddlesMoveComputerNever) {
    StartRally(300, 440, 5, 5);
    headless::SetKey(DIK_A, true);
    Frame();
    EXPECT_EQ(Ball1.xVelocity, -5);

    ReleaseInput();
    StartRally(300, 440, -5, 5);
    headless::SetKey(DIK_D, true);
    Frame();
    EXPECT_EQ(Ball1.xVelocity, 5);

    GameMode = MODE_AGAINST_COMPUTER;
    ReleaseInput();
    StartRally(300, 440, -5, 5);
    headless::AddMouseMotion(3, 0);
    Frame();
    EXPECT_EQ(Ball1.xVelocity, 5);

    for (int32_t vx : {5, -5}) {
        StartRally(Paddle2.x + 30, 25, vx, -5);
        Frame();
        EXPECT_EQ(Ball1.yVelocity, 5);
        EXPECT_EQ(Ball1.xVelocity, vx);
    }
}

TEST_F(BallsTest, BallOutsideASideWallTurnsInEveryFrame) {
    StartRally(15, 200, 5, 5);
    const int32_t xs[] = {10, 15, 10};
    for (int32_t x : xs) {
        Frame();
        EXPECT_EQ(Ball1.x, x);
    }
    EXPECT_EQ(recorder.CountPlayed("BOING.WAV"), 3);

    // The right wall: 640 - 11 - 22 = 607 is still inside.
    StartRally(607, 200, 5, 5);
    Frame();
    EXPECT_EQ(Ball1.x, 612);
    Frame();
    EXPECT_EQ(Ball1.xVelocity, -5);
    EXPECT_EQ(Ball1.x, 607);
}

TEST_F(BallsTest, BothBallsOutInOneFrameEachPointCounts) {
    Paddle1.x = 22;
    Paddle2.x = 22;
    StartRally(300, 15, 5, -5);
    PlaceBall(Ball2, 300, 450, 5, 5);
    BallsInPlay = 2;
    Frame();
    EXPECT_EQ(Player1Score, 1);
    EXPECT_EQ(Player2Score, 1);
    EXPECT_EQ(recorder.CountPlayed("BUZZER.WAV"), 2);
    // The second ball's point ended the rally: the top side serves.
    EXPECT_EQ(ServingSide, SIDE_TOP);
    EXPECT_EQ(MatchState, MATCH_AWAITING_SERVE);
    EXPECT_EQ(BallsInPlay, 1);
    EXPECT_EQ(Ball2.state, BOB_STATE_DEAD);
    EXPECT_EQ(Ball2.attributes & BOB_VISIBLE, 0u);
}

TEST_F(BallsTest, FirstBallOutLeavesTheSecondToPlayOnAsTheFirst) {
    Paddle2.x = 22;
    StartRally(300, 15, 5, -5);
    PlaceBall(Ball2, 200, 200, -5, 5);
    BallsInPlay = 2;
    Frame();
    EXPECT_EQ(Player1Score, 1);
    EXPECT_EQ(MatchState, MATCH_BALL_IN_PLAY);
    EXPECT_EQ(BallsInPlay, 1);
    EXPECT_EQ(Ball1.state, BOB_STATE_DEAD);
    EXPECT_EQ(Ball1.y, 60);
    EXPECT_EQ(Ball1.attributes & BOB_VISIBLE, 0u);

    Frame();  // Ball2 (now at 195, 205) takes over, then moves
    EXPECT_EQ(Ball1.state, BOB_STATE_ALIVE);
    EXPECT_NE(Ball1.attributes & BOB_VISIBLE, 0u);
    EXPECT_EQ(Ball1.x, 190);
    EXPECT_EQ(Ball1.y, 210);
    EXPECT_EQ(Ball1.xVelocity, -5);
    EXPECT_EQ(Ball1.yVelocity, 5);
    EXPECT_EQ(Ball2.state, BOB_STATE_DEAD);
    EXPECT_EQ(Ball2.attributes & BOB_VISIBLE, 0u);
    EXPECT_EQ(Ball2.x, 60);
    EXPECT_EQ(Ball2.y, 60);
    EXPECT_EQ(Ball2.xVelocity, 0);
}

TEST_F(BallsTest, TenthPointEndsTheMatchEvenWithASecondBallInPlay) {
    headless::SetKey(DIK_2, true);  // chooses the next match in the menu at once
    Paddle2.x = 22;
    Player1Score = 9;
    Player2Score = 4;
    StartRally(300, 15, 5, -5);
    // The second ball would leave at the bottom in the same frame; it belongs
    // to the finished match and must not score in the next one.
    PlaceBall(Ball2, 100, 450, 5, 5);
    BallsInPlay = 2;
    EXPECT_EQ(Frame(), FRAME_MATCH_OVER);
    EXPECT_NE(recorder.FindText("Player one score - 10"), nullptr);
    EXPECT_NE(recorder.FindText("Player two score - 4"), nullptr);
    EXPECT_EQ(recorder.CountPlayed("BUZZER.WAV"), 1);
    EXPECT_EQ(Player2Score, 4);
    // The frame hands the menu to the shell, which ends the frame in the new
    // match, waiting for its first serve.
    EXPECT_EQ(recorder.FindText("On"), nullptr);
    FadeOutAndClear();
    MainMenu();
    FinishMatchFrame();
    EXPECT_NE(recorder.FindText("On"), nullptr);
    EXPECT_EQ(Player1Score, 0);
    EXPECT_EQ(Player2Score, 0);
    EXPECT_EQ(MatchState, MATCH_AWAITING_SERVE);
    EXPECT_EQ(ServingSide, SIDE_BOTTOM);
    EXPECT_EQ(BallsInPlay, 1);
    EXPECT_EQ(Ball1.x, 310);
    EXPECT_EQ(Ball1.y, 440);
}

TEST_F(BallsTest, UKeyHoldsPlayerOneOnMatchPoint) {
    Player1Score = 3;
    headless::SetKey(DIK_U, true);
    // Bound as a player's key, U only moves that paddle.
    const uint8_t left = Player2Left;
    Player2Left = DIK_U;
    Frame();
    EXPECT_EQ(Player1Score, 3);
    Player2Left = left;
    Frame();
    EXPECT_EQ(Player1Score, 9);

    headless::SetKey(DIK_2, true);
    StartRally(Paddle2.x + 200, 15, 5, -5);
    FrameStep();
    EXPECT_NE(recorder.FindText("Player one score - 10"), nullptr);
    EXPECT_EQ(Player1Score, 0);  // a new match from the menu
}

}  // namespace
