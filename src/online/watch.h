// A watched match: both sides' inputs as a relay passes them on, kept by
// match, and played a couple of seconds behind the players so that the
// picture runs smoothly through the link's hiccups. A watcher who comes in
// mid-match is sent the match from its start and plays it fast until it is
// that couple of seconds behind.
#pragma once

#include <cstdint>

#include "online/protocol.h"

// Frames the watcher stays behind the newest it has: two seconds.
constexpr uint32_t WATCH_LAG_FRAMES = 60;
// A match longer than this (over an hour) is not kept further.
constexpr uint32_t WATCH_MAX_MATCH_FRAMES = 1u << 17;

enum class WatchNext : uint8_t {
    Wait,      // nothing to play yet
    NewMatch,  // the next match can begin (WatchMatchSeconds is its calendar)
    Frame,     // a frame can be played (WatchBottomInput, WatchTopInput)
    Over,      // the players have left and everything they played was played
};

extern uint32_t WatchFrame;        // the frame about to be played in the match being watched
extern int64_t WatchMatchSeconds;  // the calendar the match begins at
extern uint32_t WatchOutOfStep;    // the first frame whose checksum differed, +1; 0: none

// Nothing kept, nothing played.
void WatchReset();
// Takes a Watch message; false when it does not follow what was had (it is
// then ignored).
bool WatchTake(const OnlineMessage& message, uint32_t now);
// The players have left: what is kept is played out, then Over.
void WatchPlayersGone();
// What to do now (`now` a millisecond clock): the lag is waived when the
// players have left or nothing new has come for a second (a match's end).
WatchNext WatchStep(uint32_t now);
// The next match has begun on this side (after NewMatch).
void WatchBegin();
uint8_t WatchBottomInput();
uint8_t WatchTopInput();
// More than two lags behind: frames are played without their wait.
bool WatchHurry();
// WatchFrame was played, leaving this checksum (compared with the host's).
void WatchPlayed(uint32_t checksum);
// The match being watched has ended on this side.
void WatchMatchOver();
