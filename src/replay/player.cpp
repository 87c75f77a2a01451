#include "replay/player.h"

#include "clock/random.h"

bool PlayingBack = false;
uint32_t PlaybackDisagreedAt = 0;

namespace {

const Replay* Playing = nullptr;
size_t RunIndex = 0;
uint32_t FramesIntoRun = 0;
uint32_t FramesPlayed = 0;

void Disagree() {
    if (PlaybackDisagreedAt == 0) PlaybackDisagreedAt = FramesPlayed == 0 ? 1 : FramesPlayed;
}

}  // namespace

void StartPlayback(const Replay& replay) {
    Playing = &replay;
    RunIndex = 0;
    FramesIntoRun = 0;
    FramesPlayed = 0;
    PlaybackDisagreedAt = 0;
    RestoreMatchState(replay.startState);
    CalendarPlayback = &replay.calendar;
    CalendarPlaybackNext = 0;
    CalendarRanOut = false;
    PlayingBack = true;
}

bool NextPlaybackInput(MatchInput* input) {
    if (!PlayingBack || FramesPlayed >= Playing->frames || RunIndex >= Playing->inputs.size()) {
        return false;
    }
    const InputRun& run = Playing->inputs[RunIndex];
    *input = run.input;
    if (++FramesIntoRun >= run.frames) {
        ++RunIndex;
        FramesIntoRun = 0;
    }
    return true;
}

bool CheckPlaybackFrame() {
    ++FramesPlayed;
    // More calendar readings than were recorded: the match has gone another way.
    if (CalendarRanOut) Disagree();
    if (FramesPlayed % REPLAY_CHECK_EVERY == 0) {
        const size_t index = FramesPlayed / REPLAY_CHECK_EVERY - 1;
        if (index >= Playing->checksums.size() ||
            Playing->checksums[index] != MatchStateChecksum()) {
            Disagree();
        }
    }
    return PlaybackDisagreedAt == 0;
}

bool FinishPlayback() {
    if (PlayingBack) {
        if (Playing->checksums.empty() || Playing->checksums.back() != MatchStateChecksum() ||
            FramesPlayed != Playing->frames || CalendarPlaybackNext != Playing->calendar.size()) {
            Disagree();
        }
        CalendarPlayback = nullptr;
        PlayingBack = false;
    }
    return PlaybackDisagreedAt == 0;
}
