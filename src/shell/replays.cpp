#include "shell/replays.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <vector>

#include "common/file_read.h"
#include "common/file_write.h"
#include "common/folders.h"
#include "frontend/key_bindings.h"
#include "input/controls.h"
#include "input/input.h"
#include "match/match.h"
#include "match/match_display.h"
#include "match/match_frame.h"
#include "match/match_input.h"
#include "platform/platform.h"
#include "replay/player.h"
#include "replay/recorder.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "sound/sound.h"

namespace fs = std::filesystem;

std::string ReplayFolder;
int32_t ReplaysKept = 50;
std::string ReplayRecordFile;

namespace {

constexpr const char* Ending = ".replay";

void Say(const std::string& line) { std::fprintf(stderr, "volleen: %s\n", line.c_str()); }

// 2026-12-07_21-04-05.replay, or -2, -3 ... when that second is taken.
std::string NewReplayPath() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    std::string path = ReplayFolder + "/" + stamp + Ending;
    std::error_code failed;
    for (int n = 2; fs::exists(path, failed) && n < 100; ++n) {
        path = ReplayFolder + "/" + stamp + "-" + std::to_string(n) + Ending;
    }
    return path;
}

std::vector<std::string> KeptReplays() {
    std::vector<std::string> names;
    std::error_code failed;
    for (fs::directory_iterator it(ReplayFolder, failed), end; !failed && it != end;
         it.increment(failed)) {
        if (it->path().extension() == Ending && it->is_regular_file(failed)) {
            names.push_back(it->path().string());
        }
    }
    std::sort(names.begin(), names.end());  // the names are dates: oldest first
    return names;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string why;
    if (!WriteFileAtomically(path.c_str(), bytes.data(), bytes.size(), &why)) {
        Say("cannot save the replay " + path + ": " + why);
    }
}

// A failure to keep a replay is one line; the game goes on.
void KeepRecordedMatch() {
    const std::vector<uint8_t> bytes = EncodeReplay(RecordedMatch);
    if (!ReplayRecordFile.empty()) Write(ReplayRecordFile, bytes);
    if (ReplayFolder.empty()) return;
    std::string why;
    std::error_code failed;
    if (!fs::is_directory(ReplayFolder, failed) &&
        !MakeParentFolders(ReplayFolder + "/", 0700, &why)) {
        Say("cannot save the replay: " + why);
        return;
    }
    Write(NewReplayPath(), bytes);
    std::vector<std::string> kept = KeptReplays();
    for (size_t i = 0; i + ReplaysKept < kept.size(); ++i) {
        std::error_code failed;
        fs::remove(kept[i], failed);
    }
}

void EndReplay(int32_t code) {
    if (!FinishPlayback()) {
        Say("the replay disagrees with the game from frame " + std::to_string(PlaybackDisagreedAt) +
            " on");
        code = 4;
    }
    platform::PostMessage(platform::MessageKind::Quit, code);
}

int32_t ReplayStep() {
    // The viewer's Escape (or a pad's Start) leaves at once.
    if (EscapeHeld() || platform::CloseRequested()) {
        FinishPlayback();
        platform::PostMessage(platform::MessageKind::Quit, 0);
        return FRAME_MATCH_LEFT;
    }
    if (!NextPlaybackInput(&FrameInput)) {
        EndReplay(0);
        return FRAME_MATCH_LEFT;
    }
    const int32_t outcome = MatchFrame();
    if (!CheckPlaybackFrame() || outcome != FRAME_PLAYED) EndReplay(0);
    return outcome;
}

}  // namespace

void RecordFrameStart() {
    // Frames run on the way out too (and, closed from the first menu, before
    // any match was chosen): those are no match.
    const bool match = MatchState != MATCH_EXITING &&
                       (GameMode == MODE_AGAINST_COMPUTER || GameMode == MODE_TWO_PLAYERS);
    if (!Recording && match) StartRecording(VOLLEEN_VERSION);
    RecordFrameInput(FrameInput);
}

void RecordFrameEnd(int32_t outcome) {
    RecordFramePlayed();
    if (outcome == FRAME_PLAYED || !Recording) return;
    FinishRecording(outcome == FRAME_MATCH_OVER ? REPLAY_WON : REPLAY_LEFT);
    KeepRecordedMatch();
}

void KeepMatchUnderWay(uint8_t ending) {
    if (!Recording) return;
    FinishRecording(ending);
    KeepRecordedMatch();
}

std::string NewestReplay() {
    const std::vector<std::string> kept = KeptReplays();
    return kept.empty() ? "" : kept.back();
}

int32_t ReplayMain(const std::string& path) {
    const std::string file = path == "last" ? NewestReplay() : path;
    if (file.empty()) {
        Say("no replay kept yet in " + ReplayFolder);
        return 2;
    }
    std::vector<uint8_t> bytes;
    std::string why;
    static Replay replay;
    if (!ReadWholeFile(file.c_str(), MAX_REPLAY_FILE_BYTES, &bytes, &why) ||
        !DecodeReplay(bytes.data(), bytes.size(), &replay, &why)) {
        Say("cannot play " + file + ": " + why);
        return 2;
    }
    if (!OpenGameWindow()) return 1;
    LoadSubsystems();
    UseMatchColours();

    // The match as the menu would start it, then exactly as it was recorded.
    NewMatch();
    StartPlayback(replay);
    StopSound(MenuSoundId);
    if (MusicOn == MUSIC_ON) PlaySound(MusicSoundId, 1);
    DrawMatchScreen();
    SetControls(Controls::Match);

    const int32_t code = RunMessageLoop(ReplayStep);
    GameShutdown();
    platform::DestroyGameWindow();
    return code;
}
