// The match variables and the set-up of a new match.
#pragma once

#include <cstdint>

#include "graphics/bob.h"

// MatchState
constexpr int32_t MATCH_EXITING = 0;  // the way out has begun: frames draw nothing
constexpr int32_t MATCH_BALL_IN_PLAY = 1;
constexpr int32_t MATCH_AWAITING_SERVE = 2;

// GameMode
constexpr int32_t MODE_NONE = 0;              // until the menu first starts a match
constexpr int32_t MODE_AGAINST_COMPUTER = 1;  // the mouse against the computer
constexpr int32_t MODE_TWO_PLAYERS = 2;       // two players on the keyboard

// ServingSide, and the side that scored
constexpr int32_t SIDE_BOTTOM = 1;  // Player 1, Paddle1
constexpr int32_t SIDE_TOP = 2;     // Player 2, Paddle2

constexpr int32_t WINNING_SCORE = 10;

extern int32_t MatchState;       // a MATCH_ value: serve awaited, ball in play, or leaving
extern int32_t ServingSide;      // a SIDE_ value; after a point, the side that scored
extern int32_t BallsInPlay;      // 1 or 2: balls alive in the court
extern int32_t GameMode;         // a MODE_ value: who plays the top paddle
extern int32_t Player1Score;     // bottom
extern int32_t Player2Score;     // top
extern int32_t SplitTimer;       // frames since the split rule last had its chance
extern int32_t BackgroundIndex;  // which of the six courts this match is drawn on

// A ball's state is BOB_STATE_ALIVE while it is in play. A single ball in
// play is always Ball1.
extern Bob Paddle1;  // bottom
extern Bob Paddle2;  // top
extern Bob Ball1;    // the ball, or the first of two after a split
extern Bob Ball2;    // the second ball, alive only after a split

int32_t NewMatch();
