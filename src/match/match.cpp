#include "match/match.h"

#include "clock/random.h"

int32_t MatchState = MATCH_AWAITING_SERVE;
int32_t ServingSide = SIDE_BOTTOM;
int32_t BallsInPlay = 1;
int32_t GameMode = MODE_NONE;
int32_t Player1Score = 0;
int32_t Player2Score = 0;
int32_t SplitTimer = 0;
int32_t BackgroundIndex = 0;

Bob Paddle1;
Bob Paddle2;
Bob Ball1;
Bob Ball2;

int32_t NewMatch() {
    MatchState = MATCH_AWAITING_SERVE;
    ServingSide = SIDE_BOTTOM;

    Ball2.state = BOB_STATE_DEAD;
    Ball1.state = BOB_STATE_ALIVE;
    BallsInPlay = 1;
    ShowBob(&Ball1);
    HideBob(&Ball2);

    // Five choices: the sixth background is never picked.
    SeedRandomFromClock();
    BackgroundIndex = NextRandom() % 5;

    SetBobPosition(&Paddle1, 280, 450);
    SetBobPosition(&Paddle2, 280, 22);
    SetBobPosition(&Ball1, 315, 442);
    SetBobVelocity(&Ball1, 0, 0);

    Player2Score = 0;
    Player1Score = 0;
    return 1;
}
