#include "shell/startup.h"

#include "clock/pause.h"
#include "frontend/assets.h"
#include "frontend/key_bindings.h"
#include "frontend/main_menu.h"
#include "frontend/picture.h"
#include "graphics/bitmap_file.h"
#include "graphics/bitmap_image.h"
#include "graphics/bob.h"
#include "graphics/display.h"
#include "graphics/transitions.h"
#include "input/input.h"
#include "match/match.h"
#include "platform/platform.h"
#include "sound/sound.h"

namespace {

// Sets the palette of the named picture. A file that cannot be used keeps
// the palette in force (LoadAssets has already said what is wrong with it).
void ApplyPictureColours(const char* name) {
    if (LoadPicture(name, 0, 0, false)) SetPalette(ScratchBitmap.palette);
    UnloadBitmapFile(&ScratchBitmap);
}

void ShowLogo(const char* paletteFile, BitmapImage* logo) {
    PlaySound(FireSoundId, 0);
    ApplyPictureColours(paletteFile);
    // Straight onto the visible surface: it shows at once, with no flip.
    if (LockPrimary() != nullptr) {
        DrawBitmapImage(logo, PrimaryPixels, PrimaryPitch, 0);
        UnlockPrimary();
    }
}

}  // namespace

void LoadSubsystems() {
    LoadAssets();
    LoadGameSounds();
    InputInit();
    KeyboardInit();
    MouseInit();
    LoadKeyBindings();
}

void UseMatchColours() { ApplyPictureColours("BALL3D8BIG.BMP"); }

void GameIntro() {
    LoadSubsystems();

    ShowLogo("harbeklogo8.bmp", &LogoImage1);
    SkippablePause(5000);
    FadeOutAndClear();
    platform::Sleep(400);

    ShowLogo("bremlogo8.bmp", &LogoImage2);
    SkippablePause(5000);
    FadeOutAndClear();

    UseMatchColours();
}

int32_t GameInit() {
    GameIntro();
    MainMenu();
    return 1;
}

int32_t GameShutdown() {
    DestroyBob(&Paddle1);
    DestroyBob(&Paddle2);
    DestroyBob(&Ball1);
    DestroyBob(&Ball2);

    for (BitmapImage& background : Backgrounds) DestroyBitmapImage(&background);
    DestroyBitmapImage(&TitleImage);
    DestroyBitmapImage(&LogoImage2);
    DestroyBitmapImage(&LogoImage1);
    DestroyBitmapImage(&CreditsImage);

    StopDisplay();
    SoundShutdown();

    KeyboardShutdown();
    MouseShutdown();
    InputShutdown();
    return 1;
}
