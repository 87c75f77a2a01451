#include "frontend/assets.h"

#include "common/layout.h"
#include "frontend/picture.h"
#include "graphics/bitmap_file.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "match/match.h"
#include "platform/platform.h"

BitmapImage Backgrounds[6] = {};
BitmapImage TitleImage = {};
BitmapImage LogoImage1 = {};
BitmapImage LogoImage2 = {};
BitmapImage CreditsImage = {};

namespace {

constexpr uint32_t BobAttributes = 17;  // visible from the start
constexpr uint32_t BobMemory = 2048;    // frames in system memory
constexpr int32_t FullWidth = 639;      // full-screen pictures skip the grid's border line,
constexpr int32_t FullHeight = 479;     // so they cover one column and row less than the screen

// A full-screen picture: the image always exists, so that drawing and
// releasing it work alike; it holds pixels only when the file was usable.
void LoadFullScreenImage(BitmapImage* image, const char* name) {
    const int32_t usable = LoadPicture(name, FullWidth + 1, FullHeight + 1, true);
    CreateBitmapImage(image, 0, 0, FullWidth, FullHeight);
    if (usable) LoadBitmapImage(image, &ScratchBitmap, 0, 0, 0);
    UnloadBitmapFile(&ScratchBitmap);
}

// A court: every match frame is composed over it, so one without a usable
// picture is black rather than leaving the last frames showing through.
void LoadCourt(BitmapImage* image, const char* name) {
    LoadFullScreenImage(image, name);
    if (image->pixels != nullptr) image->attributes |= IMAGE_LOADED;
}

// A sprite: made at its full size whatever the file, so that play (which
// goes by the sprites' sizes) is the same; without a usable file it shows
// nothing.
void MakeBob(Bob* bob, int32_t x, int32_t y, int32_t width, int32_t height, int32_t cellX,
             bool usable) {
    CreateBob(bob, x, y, width, height, 1, BobAttributes, BobMemory);
    if (usable) LoadBobFrame(bob, &ScratchBitmap, 0, cellX, 0, 0);
}

}  // namespace

int32_t LoadAssets() {
    StartDisplay(640, 480, 8);
    platform::ShowCursor(false);

    const bool ballUsable = LoadPicture("BALL3D8BIG.BMP", 12, 12, true);
    if (ballUsable) SetPalette(ScratchBitmap.palette);

    DrawTextIndexed("Loading...", 290, 240, LABEL_COLOUR, PrimarySurface);

    MakeBob(&Ball1, 60, 60, BALL_SIZE, BALL_SIZE, 0, ballUsable);
    MakeBob(&Ball2, 60, 60, BALL_SIZE, BALL_SIZE, 0, ballUsable);
    UnloadBitmapFile(&ScratchBitmap);
    const bool paddlesUsable = LoadPicture("PADDLES3D8.BMP", 132, 9, true);
    MakeBob(&Paddle1, 0, 0, PADDLE1_WIDTH, PADDLE_HEIGHT, 0, paddlesUsable);
    MakeBob(&Paddle2, 0, 0, PADDLE2_WIDTH, PADDLE_HEIGHT, 1,
            paddlesUsable);  // cell (1, 0): from column 67
    UnloadBitmapFile(&ScratchBitmap);

    static const char* const BackgroundFiles[6] = {"BACK81.BMP", "BACK82.BMP", "BACK83.BMP",
                                                   "BACK84.BMP", "BACK85.BMP", "BACK86.BMP"};
    for (int i = 0; i < 6; ++i) LoadCourt(&Backgrounds[i], BackgroundFiles[i]);

    const bool titleUsable = LoadPicture("TITLE8.BMP", 620, 460, true);
    CreateBitmapImage(&TitleImage, 0, 0, 619, 459);
    if (titleUsable) {
        LoadBitmapImage(&TitleImage, &ScratchBitmap, 0, 0, 0);
        SetPalette(ScratchBitmap.palette);
    }
    UnloadBitmapFile(&ScratchBitmap);
    TitleImage.x = 20;
    TitleImage.y = 20;

    const platform::Rect screen = {0, 0, ScreenWidth, ScreenHeight};
    DisplayClipper = AttachClipper(BackSurface, 1, &screen);

    LoadFullScreenImage(&LogoImage2, "bremlogo8.bmp");
    LoadFullScreenImage(&LogoImage1, "harbeklogo8.bmp");
    LoadFullScreenImage(&CreditsImage, "credits8.bmp");
    return 1;
}
