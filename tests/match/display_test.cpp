// The match screen, the serve after a point, the end of a match, new matches
// and leaving a match with Escape.
#include <set>

#include "common/layout.h"
#include "input/key_codes.h"
#include "match/after_point.h"
#include "match/match.h"
#include "match/match_display.h"
#include "match/match_frame.h"
#include "match_fixture.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "sound/sound.h"

namespace {

using DisplayTest = MatchTest;

TEST_F(DisplayTest, ScoresAndPromptOfEachMode) {
    const struct {
        int32_t mode, state, score1, score2;
        const char* prompt;  // null: no prompt
        int32_t promptX;
    } cases[] = {
        {MODE_AGAINST_COMPUTER, MATCH_AWAITING_SERVE, 0, 0, "click to continue", 265},
        {MODE_TWO_PLAYERS, MATCH_AWAITING_SERVE, 3, 9, "press space to continue", 235},
        {MODE_AGAINST_COMPUTER, MATCH_BALL_IN_PLAY, 0, 0, nullptr, 0},
        {MODE_TWO_PLAYERS, MATCH_AWAITING_SERVE, 10, 9, nullptr, 0},  // the final frame
        {MODE_AGAINST_COMPUTER, MATCH_AWAITING_SERVE, 4, 10, nullptr, 0},
    };
    for (const auto& c : cases) {
        GameMode = c.mode;
        MatchState = c.state;
        Player1Score = c.score1;
        Player2Score = c.score2;
        recorder.Clear();
        EXPECT_EQ(DrawMatchScreen(), 1);
        EXPECT_EQ(recorder.flips.size(), 1u);
        ASSERT_EQ(recorder.texts.size(), c.prompt ? 3u : 2u);

        const TextEvent& one = recorder.texts[0];
        EXPECT_EQ(one.text, "Player 1 - " + std::to_string(c.score1));
        EXPECT_EQ(one.x, 20);
        EXPECT_EQ(one.y, 1);
        EXPECT_FALSE(one.primary);
        const TextEvent& two = recorder.texts[1];
        EXPECT_EQ(two.text, "Player 2 - " + std::to_string(c.score2));
        EXPECT_EQ(two.x, c.score2 == 10 ? 542 : 548);
        EXPECT_EQ(two.y, 1);
        if (c.prompt) {
            const TextEvent& prompt = recorder.texts[2];
            EXPECT_EQ(prompt.text, c.prompt);
            EXPECT_EQ(prompt.x, c.promptX);
            EXPECT_EQ(prompt.y, 235);
            EXPECT_EQ(prompt.index, PROMPT_COLOUR);
            EXPECT_FALSE(prompt.primary);
        }
    }
}

TEST_F(DisplayTest, FrameDrawsWhileAMatchIsOnScreenAndLastsItsTime) {
    const uint32_t start = headless::VirtualMs();
    Frame();
    EXPECT_EQ(recorder.flips.size(), 1u);
    EXPECT_GE(headless::VirtualMs() - start, 33u);

    MatchState = MATCH_EXITING;  // the way out has begun
    Frame();
    EXPECT_EQ(recorder.flips.size(), 1u);
}

TEST_F(DisplayTest, ServeAfterPointRestsOneBallOnTheServersPaddle) {
    PlaceBall(Ball2, 300, 300, 5, 5);  // after a split
    BallsInPlay = 2;
    Ball1.state = BOB_STATE_DEAD;
    Paddle1.x = 280;
    Paddle2.x = 100;
    SetBobVelocity(&Ball1, -5, 5);

    EXPECT_EQ(ServeAfterPoint(), 1);
    EXPECT_EQ(Ball1.x, 310);
    EXPECT_EQ(Ball1.y, 440);
    EXPECT_EQ(Ball1.xVelocity, 0);
    EXPECT_EQ(Ball1.yVelocity, 0);
    EXPECT_EQ(Ball1.state, BOB_STATE_ALIVE);
    EXPECT_NE(Ball1.attributes & BOB_VISIBLE, 0u);
    EXPECT_EQ(Ball2.state, BOB_STATE_DEAD);
    EXPECT_EQ(Ball2.attributes & BOB_VISIBLE, 0u);
    EXPECT_EQ(BallsInPlay, 1);

    ServingSide = SIDE_TOP;
    Player1Score = 9;
    Player2Score = 9;
    EXPECT_EQ(ServeAfterPoint(), 1);
    EXPECT_EQ(Ball1.x, 130);
    EXPECT_EQ(Ball1.y, 29);
    EXPECT_TRUE(recorder.sleeps.empty());
}

TEST_F(DisplayTest, EndOfMatchShowsBothScoresOverTheLastFrame) {
    for (const auto& [one, two] : {std::pair{10, 9}, std::pair{7, 10}}) {
        PlaySound(MusicSoundId, 1);
        Player1Score = one;
        Player2Score = two;
        recorder.Clear();
        EXPECT_EQ(ServeAfterPoint(), 0);

        const std::vector<std::string> expected = {
            "text back 20,1 Player 1 - " + std::to_string(one),
            "text back " + std::to_string(two == 10 ? 542 : 548) + ",1 Player 2 - " +
                std::to_string(two),
            "flip",
            "sleep 600",
            "stop MUSIC.WAV loop",
            "play SPIKE.WAV",
            "text primary 250,230 Player one score - " + std::to_string(one),
            "text primary 250,245 Player two score - " + std::to_string(two),
            "sleep 4000",
        };
        EXPECT_EQ(recorder.Log(), expected);
    }
}

TEST_F(DisplayTest, NewMatchStartsFreshAndKeepsModeTimerAndSecondBall) {
    GameMode = MODE_AGAINST_COMPUTER;
    SplitTimer = 17;
    Player1Score = 6;
    Player2Score = 8;
    MatchState = MATCH_BALL_IN_PLAY;
    ServingSide = SIDE_TOP;
    BallsInPlay = 2;
    PlaceBall(Ball2, 123, 234, 5, -5);
    Paddle1.xVelocity = 4;
    Paddle2.x = 40;

    EXPECT_EQ(NewMatch(), 1);
    EXPECT_EQ(MatchState, MATCH_AWAITING_SERVE);
    EXPECT_EQ(ServingSide, SIDE_BOTTOM);
    EXPECT_EQ(BallsInPlay, 1);
    EXPECT_EQ(Player1Score, 0);
    EXPECT_EQ(Player2Score, 0);
    EXPECT_EQ(Paddle1.x, 280);
    EXPECT_EQ(Paddle1.y, 450);
    EXPECT_EQ(Paddle2.x, 280);
    EXPECT_EQ(Paddle2.y, 22);
    EXPECT_EQ(Ball1.x, 315);
    EXPECT_EQ(Ball1.y, 442);
    EXPECT_EQ(Ball1.state, BOB_STATE_ALIVE);
    EXPECT_EQ(Ball2.state, BOB_STATE_DEAD);
    EXPECT_EQ(Ball2.attributes & BOB_VISIBLE, 0u);

    EXPECT_EQ(GameMode, MODE_AGAINST_COMPUTER);
    EXPECT_EQ(SplitTimer, 17);
    EXPECT_EQ(Paddle1.xVelocity, 4);
    EXPECT_EQ(Ball2.x, 123);
    EXPECT_EQ(Ball2.yVelocity, -5);
}

TEST_F(DisplayTest, BackgroundIsOneOfTheFirstFive) {
    std::set<int32_t> chosen;
    for (int second = 0; second < 200; ++second) {
        NewMatch();
        chosen.insert(BackgroundIndex);
        platform::Sleep(1000);
    }
    EXPECT_EQ(chosen, (std::set<int32_t>{0, 1, 2, 3, 4}));
}

TEST_F(DisplayTest, EscapeLeavesForTheMenuAndTheFrameGoesOn) {
    Player1Score = 5;
    Player2Score = 3;
    StartRally(300, 200, 5, 5);
    headless::SetKey(DIK_ESCAPE, true);
    headless::SetKey(DIK_1, true);
    EXPECT_EQ(Frame(), FRAME_MATCH_LEFT);
    EXPECT_EQ(Player1Score, 5);  // the menu is the shell's to show
    FrameStep();
    EXPECT_EQ(Player1Score, 0);
    EXPECT_EQ(Player2Score, 0);
    EXPECT_EQ(GameMode, MODE_AGAINST_COMPUTER);
    EXPECT_EQ(MatchState, MATCH_AWAITING_SERVE);
    EXPECT_EQ(Ball1.x, 310);
    EXPECT_EQ(Ball1.y, 440);
    // The new match's first frame: the menu's serve frame and this frame's own.
    ASSERT_FALSE(recorder.texts.empty());
    EXPECT_EQ(recorder.texts.back().text, "click to continue");
    EXPECT_EQ(recorder.Log().back(), "flip");
}

}  // namespace
