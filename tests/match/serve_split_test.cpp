// The serve and the second ball.
#include "input/key_codes.h"
#include "match/after_point.h"
#include "match/match.h"
#include "match/match_display.h"
#include "match/match_frame.h"
#include "match_fixture.h"
#include "platform/headless/headless.h"

namespace {

using ServeSplitTest = MatchTest;

bool Even(int32_t draw) { return draw % 2 == 0; }
bool Odd(int32_t draw) { return draw % 2 != 0; }
bool Splits(int32_t draw) { return draw % 5 == 0; }
bool NoSplit(int32_t draw) { return draw % 5 != 0; }

TEST_F(ServeSplitTest, ServeDirectionFollowsTheDrawAndTheServingSide) {
    const struct {
        int32_t side;
        bool (*draw)(int32_t);
        int32_t vx, vy;
    } cases[] = {{SIDE_BOTTOM, Even, 5, -5},
                 {SIDE_BOTTOM, Odd, -5, -5},
                 {SIDE_TOP, Even, 5, 5},
                 {SIDE_TOP, Odd, -5, 5}};
    for (const auto& c : cases) {
        MatchState = MATCH_AWAITING_SERVE;
        ServingSide = c.side;
        ServeAfterPoint();
        const int32_t restY = Ball1.y;
        WaitForDraw(c.draw);
        headless::SetKey(DIK_SPACE, true);
        Frame();
        ReleaseInput();
        EXPECT_EQ(MatchState, MATCH_BALL_IN_PLAY);
        EXPECT_EQ(Ball1.xVelocity, c.vx) << "side " << c.side;
        EXPECT_EQ(Ball1.yVelocity, c.vy) << "side " << c.side;
        EXPECT_EQ(Ball1.y, restY + c.vy);  // it leaves in the serving frame
    }
}

TEST_F(ServeSplitTest, EachModeServesOnlyWithItsOwnInput) {
    headless::SetButton(0, true);  // a click does not serve in mode 2
    Frame();
    EXPECT_EQ(MatchState, MATCH_AWAITING_SERVE);

    GameMode = MODE_AGAINST_COMPUTER;
    ReleaseInput();
    headless::SetKey(DIK_RIGHT, true);  // nor Player 2's keys in mode 1
    Frame();
    EXPECT_EQ(MatchState, MATCH_AWAITING_SERVE);
    headless::SetButton(0, true);
    Frame();
    EXPECT_EQ(MatchState, MATCH_BALL_IN_PLAY);
    EXPECT_EQ(Ball1.yVelocity, -5);

    // Without a mode chosen nothing serves.
    GameMode = MODE_NONE;
    MatchState = MATCH_AWAITING_SERVE;
    Frame();
    EXPECT_EQ(MatchState, MATCH_AWAITING_SERVE);
}

TEST_F(ServeSplitTest, SplitSendsSecondBallFromTheSamePixelTheOtherWay) {
    StartRally(300, 200, 5, -5);
    SplitTimer = 30;
    WaitForDraw(Splits);
    Frame();
    EXPECT_EQ(BallsInPlay, 2);
    EXPECT_EQ(SplitTimer, 0);
    EXPECT_EQ(recorder.CountPlayed("SPLIT.WAV"), 1);
    EXPECT_EQ(Ball2.state, BOB_STATE_ALIVE);
    EXPECT_NE(Ball2.attributes & BOB_VISIBLE, 0u);
    EXPECT_EQ(Ball2.xVelocity, -5);
    EXPECT_EQ(Ball2.yVelocity, 5);
    // Both moved once from (300, 200): already apart when drawn.
    EXPECT_EQ(Ball1.x, 305);
    EXPECT_EQ(Ball1.y, 195);
    EXPECT_EQ(Ball2.x, 295);
    EXPECT_EQ(Ball2.y, 205);

    // With two balls the timer stays at 0 and nothing splits again.
    WaitForDraw(Splits);
    Frame();
    EXPECT_EQ(SplitTimer, 0);
    EXPECT_EQ(BallsInPlay, 2);
}

TEST_F(ServeSplitTest, SplitChanceOnlyInItsWindowOfTimeAndPlace) {
    const struct {
        const char* what;
        int32_t timer, x, y, state;
        bool (*draw)(int32_t);
        bool splits;
        int32_t timerAfter;
    } cases[] = {
        {"chance taken, no split", 30, 300, 200, MATCH_BALL_IN_PLAY, NoSplit, false, 0},
        {"timer still counting", 29, 300, 200, MATCH_BALL_IN_PLAY, Splits, false, 30},
        {"last chance", 35, 300, 200, MATCH_BALL_IN_PLAY, Splits, true, 0},
        {"timer past its window", 36, 300, 200, MATCH_BALL_IN_PLAY, Splits, false, 0},
        {"serve awaited", 30, 300, 200, MATCH_AWAITING_SERVE, Splits, false, 31},
        {"left edge of window", 30, 140, 200, MATCH_BALL_IN_PLAY, Splits, false, 31},
        {"inside left edge", 30, 141, 200, MATCH_BALL_IN_PLAY, Splits, true, 0},
        {"right edge", 30, 500, 200, MATCH_BALL_IN_PLAY, Splits, false, 31},
        {"top edge", 30, 300, 100, MATCH_BALL_IN_PLAY, Splits, false, 31},
        {"bottom edge", 30, 300, 350, MATCH_BALL_IN_PLAY, Splits, false, 31},
        {"inside bottom edge", 30, 300, 349, MATCH_BALL_IN_PLAY, Splits, true, 0},
    };
    for (const auto& c : cases) {
        StartRally(c.x, c.y, 5, 5);
        MatchState = c.state;
        SplitTimer = c.timer;
        WaitForDraw(c.draw);
        Frame();
        EXPECT_EQ(BallsInPlay, c.splits ? 2 : 1) << c.what;
        EXPECT_EQ(SplitTimer, c.timerAfter) << c.what;
    }
}

TEST_F(ServeSplitTest, TimerRunsWhileServeAwaitedAndWrapsAfter36) {
    for (int i = 1; i <= 36; ++i) {
        Frame();
        ASSERT_EQ(SplitTimer, i);
    }
    Frame();
    EXPECT_EQ(SplitTimer, 0);
    EXPECT_EQ(BallsInPlay, 1);
}

}  // namespace
