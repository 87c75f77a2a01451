// Every match recorded, kept as a replay file, and played back.
#pragma once

#include <cstdint>
#include <string>

extern std::string ReplayFolder;      // where finished matches are kept; empty: nowhere
extern int32_t ReplaysKept;           // the newest this many stay in ReplayFolder
extern std::string ReplayRecordFile;  // also written here (the runner's --record); empty: not

// The recording of the match being played, around each frame of the shell's
// loop: begun at a match's first frame, ended (and kept) at its last.
void RecordFrameStart();
void RecordFrameEnd(int32_t outcome);
// A match under way is kept as it stands, with this ending (REPLAY_CLOSED:
// the game is closing; REPLAY_LEFT: an online match cut short).
void KeepMatchUnderWay(uint8_t ending);

// The newest replay in ReplayFolder; empty when there is none.
std::string NewestReplay();

// Plays the replay file `path` (or the newest kept, for "last") in the game
// window and returns the exit status: 0 when it played to its end with every
// checksum agreeing (or the viewer left), 4 when the game went another way
// than the recording (one line names the frame), 2 when the file cannot be
// played (one line says why).
int32_t ReplayMain(const std::string& path);
