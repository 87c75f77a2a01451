// Playing a recorded match back: its start, each frame's input and calendar
// seconds from the file, and the state checked against what was recorded.
#pragma once

#include <cstdint>

#include "match/match_input.h"
#include "replay/replay_file.h"

extern bool PlayingBack;  // a replay is being played
// The frame after which the state first disagreed with the recording; 0
// while everything agrees.
extern uint32_t PlaybackDisagreedAt;

// Puts the match where the recording began and the calendar on its values.
void StartPlayback(const Replay& replay);
// The input of the next frame; false when the recording has no more frames.
bool NextPlaybackInput(MatchInput* input);
// After each frame played: false once the state disagrees.
bool CheckPlaybackFrame();
// After the last frame: the end's checksum; false when anything disagreed.
bool FinishPlayback();
