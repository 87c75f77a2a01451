#include "match_fixture.h"

#include <vector>

#include "clock/random.h"
#include "common/layout.h"
#include "frontend/key_bindings.h"
#include "graphics/display.h"
#include "input/controls.h"
#include "input/input.h"
#include "input/key_codes.h"
#include "match/after_point.h"
#include "match/match.h"
#include "match/match_display.h"
#include "match/match_frame.h"
#include "match/match_input.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "sound/wave_file.h"
#include "support/files.h"

namespace {

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
    const support::TempFolder folder("volleen-match-sounds");
    const std::string dir = folder.path().string();
    SoundInit();  // after the first time: empties the bank
    BoingSoundId = LoadSound(WriteSound(dir, "BOING.WAV").c_str(), 224);
    BuzzerSoundId = LoadSound(WriteSound(dir, "BUZZER.WAV").c_str(), 224);
    SpikeSoundId = LoadSound(WriteSound(dir, "SPIKE.WAV").c_str(), 224);
    SplitSoundId = LoadSound(WriteSound(dir, "SPLIT.WAV").c_str(), 224);
    MenuSoundId = LoadSound(WriteSound(dir, "MENU.WAV").c_str(), 224);
    MusicSoundId = LoadSound(WriteSound(dir, "MUSIC.WAV").c_str(), 224);
    // The bank holds copies of the samples: the folder may go.
}

}  // namespace

void MatchTest::SetUp() {
    HeadlessTest::SetUp();
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
    MusicOn = MUSIC_ON;

    GameMode = MODE_TWO_PLAYERS;
    SplitTimer = 0;
    NewMatch();
    ServeAfterPoint();
    SetControls(Controls::Match);
    ReleaseInput();
    recorder.Clear();
}

void MatchTest::TearDown() {
    InputShutdown();
    // The device stays open for the next test, whose SoundInit releases and
    // clears every slot.
    StopAllSounds();
    DestroyBob(&Ball1);
    DestroyBob(&Ball2);
    DestroyBob(&Paddle1);
    DestroyBob(&Paddle2);
    StopDisplay();
    HeadlessTest::TearDown();
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

int32_t MatchTest::Frame() {
    ReadMatchInput();
    return MatchFrame();
}
