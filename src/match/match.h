// The match variables and the set-up of a new match.
#pragma once

#include <cstdint>

#include "graphics/blitter.h"

extern int32_t MatchState;       // 0 exit begun, 1 ball in play, 2 waiting for the serve
extern int32_t ServingSide;      // 1 bottom, 2 top
extern int32_t BallsInPlay;
extern int32_t GameMode;         // 1 mouse against the computer, 2 two players on keys
extern int32_t Player1Score;
extern int32_t Player2Score;
extern int32_t SplitTimer;
extern int32_t BackgroundIndex;

extern Bob Paddle1;  // bottom
extern Bob Paddle2;  // top
extern Bob Ball1;
extern Bob Ball2;

int32_t NewMatch();
