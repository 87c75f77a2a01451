// The replay file: a match kept as what its rules read, frame by frame, and
// checked against the state it led to. docs/replays.md describes the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/file_limits.h"
#include "match/match_input.h"
#include "replay/match_state.h"

constexpr uint16_t REPLAY_FORMAT = 1;
// Limits a file from anywhere must keep: a larger claim is refused before
// anything is allocated for it.
constexpr uint32_t REPLAY_MAX_FRAMES = 1'000'000;  // over nine hours of play
// A checksum of the state after every this many frames, and one at the end.
constexpr uint32_t REPLAY_CHECK_EVERY = 30;

// Replay::mode: who played (the game's modes; online matches come later).
// Replay::ending
constexpr uint8_t REPLAY_WON = 1;     // a side reached the winning score
constexpr uint8_t REPLAY_LEFT = 2;    // Escape
constexpr uint8_t REPLAY_CLOSED = 3;  // the game was closed mid-match

// Frames in a row with the same input.
struct InputRun {
    uint32_t frames;
    MatchInput input;
};

struct Replay {
    std::string gameVersion;  // the game that wrote it, at most 32 bytes
    uint8_t mode = 0;         // GameMode
    uint8_t court = 0;        // BackgroundIndex
    uint8_t ending = 0;       // a REPLAY_ ending
    uint32_t frames = 0;
    uint8_t startState[MATCH_STATE_BYTES] = {};
    std::vector<int64_t> calendar;    // every calendar second a reseed read, in order
    std::vector<uint32_t> checksums;  // after frame 30, 60, ...; the last after the last frame
    std::vector<InputRun> inputs;     // adds up to `frames`
};

std::vector<uint8_t> EncodeReplay(const Replay& replay);
// False with one line in `why` for bytes that are not a replay this game can
// play: "not a replay (wrong magic)", "format 9 is newer than this game's 1",
// "cut short at byte 212", "larger than 1048576 bytes", ...
bool DecodeReplay(const uint8_t* bytes, size_t count, Replay* replay, std::string* why);
