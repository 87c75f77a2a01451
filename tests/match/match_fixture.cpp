#include "match_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "common/layout.h"
#include "frontend/key_bindings.h"
#include "graphics/display.h"
#include "input/controls.h"
#include "input/input.h"
#include "input/key_codes.h"
#include "match/match.h"
#include "match/match_display.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "shell/random.h"
#include "sound/sound.h"
#include "sound/wave_file.h"

namespace {

std::string BaseName(const char* name) {
    const std::string path = name;
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class RecordingObserver : public headless::Observer {
public:
    Recording* into = nullptr;

    void OnFlip(uint32_t, uint32_t) override {
        into->flips += 1;
        into->log.push_back("flip");
    }
    void OnText(uint32_t, bool primary, int32_t x, int32_t y, const char* text,
                uint8_t index) override {
        into->texts.push_back({primary, x, y, text, index});
        char line[160];
        std::snprintf(line, sizeof line, "text %s %d %d %s", primary ? "primary" : "back", x, y,
                      text);
        into->log.push_back(line);
    }
    void OnSound(uint32_t, bool play, const char* name, bool loop) override {
        into->sounds.push_back({play, BaseName(name), loop});
        into->log.push_back((play ? (loop ? "loop " : "play ") : "stop ") + BaseName(name));
    }
    void OnSleep(uint32_t, uint32_t ms) override {
        into->sleeps.push_back(ms);
        into->log.push_back("sleep " + std::to_string(ms));
    }
};

RecordingObserver Watcher;

// A short silent wave file of the game's format: 8-bit mono, 11025 Hz.
std::string WriteSound(const std::string& folder, const char* name) {
    const std::string path = folder + "/" + name;
    const std::vector<uint8_t> silence(64, 128);
    SaveWaveFile(path.c_str(), silence.data(), static_cast<uint32_t>(silence.size()), 11025);
    return path;
}

void LoadTestSounds() {
    // A folder of this process's own: ctest runs several tests at once, and a
    // file being rewritten by one must not be read half-written by another.
    const auto folder = std::filesystem::temp_directory_path() /
                        ("volleen_match_sounds_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string dir = folder.string();
    SoundInit();  // after the first time: empties the bank
    BoingSoundId = LoadSound(WriteSound(dir, "BOING.WAV").c_str(), 224);
    BuzzerSoundId = LoadSound(WriteSound(dir, "BUZZER.WAV").c_str(), 224);
    SpikeSoundId = LoadSound(WriteSound(dir, "SPIKE.WAV").c_str(), 224);
    SplitSoundId = LoadSound(WriteSound(dir, "SPLIT.WAV").c_str(), 224);
    MenuSoundId = LoadSound(WriteSound(dir, "MENU.WAV").c_str(), 224);
    MusicSoundId = LoadSound(WriteSound(dir, "MUSIC.WAV").c_str(), 224);
    // The bank holds copies of the samples.
    std::filesystem::remove_all(folder);
}

}  // namespace

void Recording::Clear() { *this = Recording{}; }

int Recording::CountPlayed(const std::string& name) const {
    int count = 0;
    for (const auto& s : sounds) count += s.play && s.name == name ? 1 : 0;
    return count;
}

bool Recording::HasText(const std::string& text) const { return FindText(text) != nullptr; }

const TextEvent* Recording::FindText(const std::string& prefix) const {
    for (const auto& t : texts) {
        if (t.text.rfind(prefix, 0) == 0) return &t;
    }
    return nullptr;
}

void MatchTest::SetUp() {
    std::string error;
    ASSERT_TRUE(headless::Configure({}, &error)) << error;
    Watcher.into = &seen;
    headless::SetObserver(&Watcher);

    ASSERT_EQ(StartDisplay(640, 480, 8), 1);
    CreateBob(&Ball1, 60, 60, BALL_SIZE, BALL_SIZE, 1, 17, 2048);
    CreateBob(&Ball2, 60, 60, BALL_SIZE, BALL_SIZE, 1, 17, 2048);
    CreateBob(&Paddle1, 0, 0, PADDLE1_WIDTH, PADDLE_HEIGHT, 1, 17, 2048);
    CreateBob(&Paddle2, 0, 0, PADDLE2_WIDTH, PADDLE_HEIGHT, 1, 17, 2048);
    LoadTestSounds();
    ASSERT_GE(BoingSoundId, 0);
    InputInit();
    KeyboardInit();
    MouseInit();

    Player1Left = DIK_A;
    Player1Right = DIK_D;
    Player2Left = DIK_LEFT;
    Player2Right = DIK_RIGHT;
    MusicOn = 1;

    GameMode = MODE_TWO_PLAYERS;
    SplitTimer = 0;
    NewMatch();
    ServeAfterPoint();
    SetControls(Controls::Match);
    ReleaseInput();
    seen.Clear();
}

void MatchTest::TearDown() {
    headless::SetObserver(nullptr);
    InputShutdown();
    // The device stays open for the next test, whose SoundInit releases and
    // clears every slot.
    StopAllSounds();
    DestroyBob(&Ball1);
    DestroyBob(&Ball2);
    DestroyBob(&Paddle1);
    DestroyBob(&Paddle2);
    StopDisplay();
}

void MatchTest::PlaceBall(Bob& ball, int32_t x, int32_t y, int32_t vx, int32_t vy) {
    ShowBob(&ball);
    ball.state = BOB_STATE_ALIVE;
    SetBobPosition(&ball, x, y);
    SetBobVelocity(&ball, vx, vy);
}

void MatchTest::StartRally(int32_t x, int32_t y, int32_t vx, int32_t vy) {
    MatchState = MATCH_BALL_IN_PLAY;
    BallsInPlay = 1;
    PlaceBall(Ball1, x, y, vx, vy);
    HideBob(&Ball2);
    Ball2.state = BOB_STATE_DEAD;
}

void MatchTest::ReleaseInput() {
    for (int code = 0; code < 256; ++code) headless::SetKey(code, false);
    for (int button = 0; button < 4; ++button) headless::SetButton(button, false);
    ReadMouse();
}

void MatchTest::WaitForDraw(bool (*wanted)(int32_t draw)) {
    for (int tries = 0; tries < 100; ++tries) {
        platform::Sleep(1000 - headless::VirtualMs() % 1000);
        SeedRandom(static_cast<uint32_t>(platform::CalendarSeconds()));
        if (wanted(NextRandom())) return;
    }
    FAIL() << "no calendar second in 100 gives the wanted draw";
}
