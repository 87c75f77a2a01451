#include "frontend/main_menu.h"

#include "clock/pause.h"
#include "common/layout.h"
#include "frontend/assets.h"
#include "frontend/key_bindings.h"
#include "frontend/menu_screen.h"
#include "frontend/redefine_keys.h"
#include "graphics/bitmap_image.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "graphics/transitions.h"
#include "input/controls.h"
#include "input/input.h"
#include "input/key_codes.h"
#include "match/after_point.h"
#include "match/match.h"
#include "match/match_display.h"
#include "platform/platform.h"
#include "sound/sound.h"

namespace {

constexpr uint32_t Black = 0x000000;
constexpr uint32_t MenuWaitMs = 33;

void ChooseMatch(int32_t mode) {
    GameMode = mode;
    FadeOutAndClear();
    StopSound(MenuSoundId);
    if (MusicOn == MUSIC_ON) PlaySound(MusicSoundId, 1);
}

// The menu tune goes on; the new setting is heard from the next match on.
void SwitchMusic() {
    if (MusicOn == MUSIC_ON) {
        MusicOn = MUSIC_OFF;
        DrawTextRgb("On", MENU_MUSIC_X, MENU_MUSIC_Y, Black, PrimarySurface);
        DrawTextIndexed("Off", MENU_MUSIC_X, MENU_MUSIC_Y, MUSIC_OFF_COLOUR, PrimarySurface);
    } else {
        MusicOn = MUSIC_ON;
        DrawTextRgb("Off", MENU_MUSIC_X, MENU_MUSIC_Y, Black, PrimarySurface);
        DrawTextIndexed("On", MENU_MUSIC_X, MENU_MUSIC_Y, KEY_NAME_COLOUR, PrimarySurface);
    }
    SaveKeyBindings();
}

}  // namespace

int32_t MainMenu() {
    bool matchChosen = false;
    bool musicKeyHeld = false;

    SetControls(Controls::Menu);
    FillSurface(PrimarySurface, 0);
    NewMatch();
    DrawMenuScreen();
    StopSound(MusicSoundId);
    PlaySound(MenuSoundId, 1);

    // Window messages wait in the queue while the menu is up.
    for (;;) {
        ReadKeyboard();

        if (KeyState[DIK_1] != 0) {
            ChooseMatch(MODE_AGAINST_COMPUTER);
            matchChosen = true;
        }
        if (KeyState[DIK_2] != 0) {
            ChooseMatch(MODE_TWO_PLAYERS);
            matchChosen = true;
        }
        if (KeyState[platform::KeyForLetter('c')] != 0) {
            SetControls(Controls::Still);  // new keys come from the keyboard alone
            FadeOutAndClear();
            RedefineKeys();
            SetControls(Controls::Menu);
        }
        if (KeyState[platform::KeyForLetter('m')] == 0) {
            musicKeyHeld = false;
        } else if (!musicKeyHeld) {
            musicKeyHeld = true;
            SwitchMusic();
        }
        if (KeyState[platform::KeyForLetter('q')] != 0) {
            QuitWithCredits();
            return 1;
        }
        if (matchChosen) {
            ServeAfterPoint();
            SetControls(Controls::Match);
            return 1;
        }
        // A close request is taken by the shell's loop, as soon as it gets it.
        if (platform::CloseRequested()) return 1;
        // Nothing moves on the menu: it wakes for the player, or a frame on.
        platform::WaitForInput(MenuWaitMs);
    }
}

int32_t QuitWithCredits() {
    SetControls(Controls::Still);
    MatchState = MATCH_EXITING;  // the frames still run until the quit message draw nothing
    FadeOutAndClear();
    if (LockPrimary() != nullptr) {
        DrawBitmapImage(&CreditsImage, PrimaryPixels, PrimaryPitch, 0);
        UnlockPrimary();
    }
    SkippablePause(7000);
    FadeOutAndClear();
    platform::PostMessage(platform::MessageKind::Destroy);
    return 1;
}
