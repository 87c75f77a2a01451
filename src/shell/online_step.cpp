// The loop's frame while online: both sides' inputs for each frame, the
// checksum after it, the rematch, and the ways back to the menu.
#include <cstdint>

#include "clock/frame_clock.h"
#include "clock/random.h"
#include "frontend/key_bindings.h"
#include "frontend/main_menu.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "graphics/transitions.h"
#include "input/controls.h"
#include "input/input.h"
#include "match/after_point.h"
#include "match/match.h"
#include "match/match_frame.h"
#include "match/match_input.h"
#include "online/lockstep.h"
#include "online/session.h"
#include "online/watch.h"
#include "replay/match_state.h"
#include "replay/replay_file.h"
#include "shell/replays.h"
#include "shell/shell.h"
#include "sound/sound.h"

uint32_t OnlineDesyncAt = UINT32_MAX;

namespace {

constexpr uint32_t EndingShownMs = 3000;
constexpr uint32_t White = 0xFFFFFF;

// The next match, as the menu would start a two-player match.
void BeginOnlineMatch() {
    GameMode = MODE_TWO_PLAYERS;
    NewMatch();
    FadeOutAndClear();
    StopSound(MenuSoundId);
    if (MusicOn == MUSIC_ON) PlaySound(MusicSoundId, 1);
    ServeAfterPoint();
    SetControls(Controls::Match);
}

// Says why the session ended (for a moment), then the menu, as after any
// match. A match cut short is kept as a replay, as the evidence.
void LeaveOnline() {
    KeepMatchUnderWay(REPLAY_LEFT);
    OnlineClose();
    SetControls(Controls::Still);
    if (!OnlineEnding.empty()) {
        DrawTextRgb(OnlineEnding.c_str(), 200, 260, White, PrimarySurface);
        platform::Sleep(EndingShownMs);
    }
    FadeOutAndClear();
    MainMenu();
}

// A watcher's frame: the next frame of the players' match when it is here,
// else a short wait.
int32_t WatchFrameStep() {
    if (!OnlineWatchLook()) {
        LeaveOnline();
        return FRAME_MATCH_LEFT;
    }
    switch (WatchStep(platform::TickCount())) {
        case WatchNext::Wait:
            platform::WaitForInput(5);
            return FRAME_PLAYED;
        case WatchNext::Over:
            OnlineWatchOver();
            LeaveOnline();
            return FRAME_MATCH_LEFT;
        case WatchNext::NewMatch:
            WatchBegin();
            CalendarMatchStart = WatchMatchSeconds;
            CalendarMatchFrames = 0;
            BeginOnlineMatch();
            return FRAME_PLAYED;
        case WatchNext::Frame:
            break;
    }
    SetSidesInput(WatchBottomInput(), WatchTopInput());
    CalendarMatchFrames = WatchFrame;
    FrameClockHurry = WatchHurry();
    RecordFrameStart();
    const int32_t outcome = PlayMatchFrame();
    RecordFrameEnd(outcome);
    FrameClockHurry = false;
    OnlineWatchPlayed(MatchStateChecksum());
    if (outcome == FRAME_MATCH_OVER) WatchMatchOver();
    return outcome;
}

}  // namespace

bool StartOnline() {
    if (!OnlineMeet()) {
        OnlineClose();
        return false;
    }
    // A watcher's match begins when the relay has sent enough of it.
    if (OnlineSide != OnlineRole::Watcher) BeginOnlineMatch();
    return true;
}

int32_t OnlineFrameStep() {
    if (!OnlineOn) return FrameStep();
    if (OnlineSide == OnlineRole::Watcher) return WatchFrameStep();
    if (EscapeHeld()) OnlineLeave(LeaveReason::Left);
    // After Escape the exchange finds the session ended, as it does when the
    // other side left.
    if (!OnlineExchange(ReadOwnSideInput())) {
        LeaveOnline();
        return FRAME_MATCH_LEFT;
    }
    SetSidesInput(OnlineBottomInput(), OnlineTopInput());
    RecordFrameStart();
    const int32_t outcome = PlayMatchFrame();
    RecordFrameEnd(outcome);
    // Tests prove the checksums by putting one side out of step on purpose.
    if (LockstepMatch == 1 && LockstepFrame == OnlineDesyncAt) Paddle1.x ^= 1;
    OnlineFramePlayed(MatchStateChecksum());
    if (outcome == FRAME_MATCH_OVER) {
        if (OnlineRematch()) {
            BeginOnlineMatch();
        } else {
            LeaveOnline();
        }
    }
    return outcome;
}
