// Recording the match being played: what the rules read each frame, the
// calendar seconds they reseeded from, and checksums of where it led.
#pragma once

#include <cstdint>

#include "match/match_input.h"
#include "replay/replay_file.h"

extern bool Recording;        // a match is being recorded
extern Replay RecordedMatch;  // the match being (or last) recorded

// Begins with the match as it stands (the frame about to be played first).
void StartRecording(const char* gameVersion);
// The input of the frame about to be played, then the frame played.
void RecordFrameInput(const MatchInput& input);
void RecordFramePlayed();
// The end (a REPLAY_ ending): the last checksum; RecordedMatch is complete.
void FinishRecording(uint8_t ending);
