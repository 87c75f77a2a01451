// The lockstep of an online match: both sides' inputs by frame number, the
// input delay, and the checksums compared frame by frame.
//
// A side's input read at its frame f is its input for frame f + delay; a
// frame is played only when both sides' inputs for it are here. Inputs are
// kept by frame number in a window, never overwritten once given, so that a
// later prediction could replay frames from them without a new protocol.
#pragma once

#include <cstdint>

#include "online/protocol.h"

// The frames one side may run ahead of what the other has acknowledged.
constexpr uint32_t LOCKSTEP_WINDOW = 256;
constexpr uint32_t LOCKSTEP_MAX_DELAY = 10;

extern uint8_t LockstepMatch;       // the match being played, counted from 1
extern uint32_t LockstepFrame;      // the frame about to be played (0 first)
extern uint32_t LockstepDelay;      // this side's input delay, in frames
extern uint32_t LockstepOutOfStep;  // the first frame whose checksums differed, +1; 0: none

// A new match: nothing given, nothing received; this side's first `delay`
// frames have no keys down.
void LockstepStart(uint8_t match, uint32_t delay);
// This side's input read now: given for frame LockstepFrame + LockstepDelay
// (and, when the delay has just grown, for the frames the change skipped;
// when it has just shrunk, the frames already given stay as they were).
void LockstepGive(uint8_t input);
// Whether the other side's input for LockstepFrame is here.
bool LockstepReady();
// This side's and the other side's input for LockstepFrame.
uint8_t LockstepOwnInput();
uint8_t LockstepOtherInput();
// LockstepFrame has been played, leaving the state with this checksum.
void LockstepPlayed(uint32_t checksum);
// Takes what the other side sent (Inputs of this match only); false when it
// does not fit the window (then it is ignored).
bool LockstepTake(const OnlineMessage& message);
// The Inputs message that tells the other side everything it still lacks.
OnlineMessage LockstepMessage();
// The frame the other side last said it was about to play.
uint32_t LockstepOtherFrame();
