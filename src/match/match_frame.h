// One frame of play.
#pragma once

#include <cstdint>

// What a frame tells the loop that runs it.
constexpr int32_t FRAME_PLAYED = 1;      // the match goes on
constexpr int32_t FRAME_MATCH_LEFT = 2;  // Escape: nothing of the frame has run yet
constexpr int32_t FRAME_MATCH_OVER = 3;  // a side has won; the frame's end is still to come

// The frame as the player knows it: Escape leaves the match before anything
// else (FRAME_MATCH_LEFT), else PlayMatchFrame.
int32_t MatchFrame();
// The frame after the Escape test: input, serve, split, paddles and balls,
// then FinishMatchFrame. Returns FRAME_MATCH_OVER, without finishing, when a
// point won the match: the caller shows what comes next, then finishes it.
int32_t PlayMatchFrame();
// The end of every frame: draws the match (unless the way out has begun) and
// waits out the frame's time.
void FinishMatchFrame();
