// An online match from the first message to the last: meeting the other
// side, each frame's exchange of inputs, the rematch, and the ways it ends
// (a side leaves, the line goes quiet, the two games go out of step).
//
// The host plays the bottom paddle (Player 1), the guest the top (Player 2).
// Each machine's own calendar never reaches the match: the host chooses the
// calendar seconds each match starts from, and both count on from there.
#pragma once

#include <cstdint>
#include <string>

#include "online/options.h"
#include "online/protocol.h"

extern bool OnlineOn;               // a session is under way
extern int64_t OnlineMatchSeconds;  // the calendar the match being started begins at
// Why the session ended, as the player is told ("" when this side left).
extern std::string OnlineEnding;

// Opens the link and meets the other side: the host waits for a guest (as
// long as it takes), the guest connects (15 seconds at most). True when the
// first match can start; false with OnlineEnding saying why ("" when the
// player pressed Escape, or the window was closed).
bool OnlineMeet();
// Before each frame: gives this side's input, sends, and waits (showing the
// last picture) until the other side's input for the frame is here. False
// when the session has ended meanwhile (OnlineEnding says why).
bool OnlineExchange(uint8_t ownInput);
// The bottom and top sides' inputs for the frame about to be played.
uint8_t OnlineBottomInput();
uint8_t OnlineTopInput();
// After each frame: its checksum, compared with the other side's.
void OnlineFramePlayed(uint32_t checksum);
// After the end-of-match display: "Space: play again   Escape: leave" until
// both sides pressed Space (true: the next match can start) or it ended.
bool OnlineRematch();
// A watcher's look at the link: the relay's frames taken (src/online/watch.h
// plays them), the players' leaving noted. False once the session has ended.
bool OnlineWatchLook();
// A watched frame was played, leaving this checksum.
void OnlineWatchPlayed(uint32_t checksum);
// Everything the players played was watched, and they have left.
void OnlineWatchOver();
// This side ends the session (Escape, the window closed).
void OnlineLeave(LeaveReason reason);
// Closes the link and says on stderr how the session went.
void OnlineClose();
// OnlineEnding alone on a black screen (a session that could not be had).
void OnlineShowEnding();
