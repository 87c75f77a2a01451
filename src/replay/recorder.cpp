#include "replay/recorder.h"

#include "clock/random.h"
#include "match/match.h"

bool Recording = false;
Replay RecordedMatch;

void StartRecording(const char* gameVersion) {
    RecordedMatch = Replay{};
    RecordedMatch.gameVersion = gameVersion;
    RecordedMatch.mode = static_cast<uint8_t>(GameMode);
    RecordedMatch.court = static_cast<uint8_t>(BackgroundIndex);
    SaveMatchState(RecordedMatch.startState);
    CalendarRecord = &RecordedMatch.calendar;
    Recording = true;
}

void RecordFrameInput(const MatchInput& input) {
    if (!Recording) return;
    std::vector<InputRun>& runs = RecordedMatch.inputs;
    // The mouse only counts against the computer: elsewhere it is not kept.
    MatchInput kept = input;
    if (RecordedMatch.mode != MODE_AGAINST_COMPUTER) kept.mouseX = 0;
    if (!runs.empty() && runs.back().input.held == kept.held &&
        runs.back().input.mouseX == kept.mouseX) {
        ++runs.back().frames;
    } else {
        runs.push_back({1, kept});
    }
}

void RecordFramePlayed() {
    if (!Recording) return;
    ++RecordedMatch.frames;
    if (RecordedMatch.frames % REPLAY_CHECK_EVERY == 0) {
        RecordedMatch.checksums.push_back(MatchStateChecksum());
    }
}

void FinishRecording(uint8_t ending) {
    if (!Recording) return;
    RecordedMatch.ending = ending;
    RecordedMatch.checksums.push_back(MatchStateChecksum());
    CalendarRecord = nullptr;
    Recording = false;
}
