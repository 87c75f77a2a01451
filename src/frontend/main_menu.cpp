#include "frontend/main_menu.h"

#include "frontend/assets.h"
#include "frontend/key_bindings.h"
#include "graphics/blitter.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "graphics/transitions.h"
#include "input/input.h"
#include "input/key_codes.h"
#include "input/key_names.h"
#include "match/match.h"
#include "match/match_display.h"
#include "platform/platform.h"
#include "shell/startup.h"
#include "sound/sound.h"

namespace {

constexpr int32_t MenuTextColour = 138;
constexpr int32_t MusicOffColour = 162;
constexpr int32_t MusicWordX = 313;
constexpr int32_t MusicWordY = 428;
constexpr uint32_t Black = 0x000000;

void DrawKeyName(uint8_t code, int32_t x, int32_t y) {
    // A code without a name (only a damaged keys.dat gives one) shows no word
    // rather than whatever an earlier caller left in the buffer.
    TextBuffer[0] = '\0';
    KeyName(code, TextBuffer);
    DrawTextIndexed(TextBuffer, x, y, MenuTextColour, PrimarySurface);
}

void ChooseMatch(int32_t mode) {
    GameMode = mode;
    FadeOutAndClear();
    StopSound(MenuSoundId);
    if (MusicOn == 1) PlaySound(MusicSoundId, 1);
}

// The menu tune goes on; the new setting is heard from the next match on.
void SwitchMusic() {
    if (MusicOn == 1) {
        MusicOn = 0;
        DrawTextRgb("On", MusicWordX, MusicWordY, Black, PrimarySurface);
        DrawTextIndexed("Off", MusicWordX, MusicWordY, MusicOffColour, PrimarySurface);
    } else {
        MusicOn = 1;
        DrawTextRgb("Off", MusicWordX, MusicWordY, Black, PrimarySurface);
        DrawTextIndexed("On", MusicWordX, MusicWordY, MenuTextColour, PrimarySurface);
    }
    SaveKeyBindings();
}

}  // namespace

void DrawMenuScreen() {
    if (LockPrimary() != nullptr) {
        DrawBitmapImage(&TitleImage, PrimaryPixels, PrimaryPitch, 0);
        UnlockPrimary();
    }

    DrawKeyName(Player1Left, 230, 287);
    DrawKeyName(Player1Right, 230, 307);
    DrawKeyName(Player2Left, 420, 287);
    DrawKeyName(Player2Right, 420, 307);

    if (MusicOn == 1) {
        DrawTextIndexed("On", MusicWordX, MusicWordY, MenuTextColour, PrimarySurface);
    } else if (MusicOn == 0) {
        DrawTextIndexed("Off", MusicWordX, MusicWordY, MusicOffColour, PrimarySurface);
    }
}

int32_t MainMenu() {
    bool matchChosen = false;
    bool musicKeyHeld = false;

    FillSurface(PrimarySurface, 0);
    NewMatch();
    DrawMenuScreen();
    StopSound(MusicSoundId);
    PlaySound(MenuSoundId, 1);

    // Window messages wait in the queue while the menu is up.
    for (;;) {
        ReadKeyboard();

        if (KeyState[DIK_1] != 0) {
            ChooseMatch(1);
            matchChosen = true;
        }
        if (KeyState[DIK_2] != 0) {
            ChooseMatch(2);
            matchChosen = true;
        }
        if (KeyState[DIK_C] != 0) {
            FadeOutAndClear();
            RedefineKeys();
        }
        if (KeyState[DIK_M] == 0) {
            musicKeyHeld = false;
        } else if (!musicKeyHeld) {
            musicKeyHeld = true;
            SwitchMusic();
        }
        if (KeyState[DIK_Q] != 0) {
            QuitWithCredits();
            return 1;
        }
        if (matchChosen) {
            ServeAfterPoint();
            return 1;
        }
        platform::IdleStep();
    }
}

int32_t QuitWithCredits() {
    MatchState = 0;  // the frames still run until the quit message draw nothing
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
