// Loading the pictures: what is cut from where, the palettes in force, and
// what happens with a file that is missing, foreign or too small.
#include "frontend/assets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "common/layout.h"
#include "frontend_fixture.h"
#include "graphics/bitmap_file.h"
#include "graphics/display.h"
#include "match/match.h"
#include "match/match_display.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;
using support::TextEvent;

class Assets : public fe::GameUp {
protected:
    // The named file as the game reads it, in a record of its own.
    BitmapFile Read(const char* name) {
        BitmapFile file = {};
        EXPECT_EQ(LoadBitmapFile(&file, name), 1) << name;
        return file;
    }
    static std::vector<uint8_t> PaletteBytes(const Palette& p) {
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&p);
        return {bytes, bytes + sizeof p};
    }
};

// Compares a width x height rectangle of `file` from (column, row) with rows
// `pitch` apart at `pixels`; returns the first mismatch, or "".
std::string SameRect(const BitmapFile& file, int32_t column, int32_t row, const uint8_t* pixels,
                     int32_t pitch, int32_t width, int32_t height) {
    for (int32_t r = 0; r < height; ++r) {
        for (int32_t c = 0; c < width; ++c) {
            const uint8_t want = file.pixels[(row + r) * file.infoHeader.biWidth + column + c];
            if (pixels[r * pitch + c] != want) {
                return "differs at column " + std::to_string(c) + ", row " + std::to_string(r);
            }
        }
    }
    return "";
}

std::string SameBobFrame(const BitmapFile& file, int32_t column, Bob& bob) {
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    if (!platform::LockSurface(bob.frames[0], &pixels, &pitch)) return "frame cannot be locked";
    std::string result = SameRect(file, column, 1, pixels, pitch, bob.width, bob.height);
    platform::UnlockSurface(bob.frames[0]);
    return result;
}

bool FrameIsEmpty(Bob& bob) {
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    if (!platform::LockSurface(bob.frames[0], &pixels, &pitch)) return false;
    bool empty = true;
    for (int32_t r = 0; r < bob.height; ++r) {
        for (int32_t c = 0; c < bob.width; ++c) empty = empty && pixels[r * pitch + c] == 0;
    }
    platform::UnlockSurface(bob.frames[0]);
    return empty;
}

TEST_F(Assets, LoadingShowsInTheBallPaletteAndEndsInTheTitlePalette) {
    std::vector<uint8_t> paletteAtLoading;
    recorder.onText = [&](const TextEvent& t) {
        if (t.text == "Loading...") paletteAtLoading = PaletteBytes(CurrentPalette);
    };
    Start("");
    BitmapFile ball = Read("BALL3D8BIG.BMP");
    BitmapFile title = Read("TITLE8.BMP");

    const std::vector<TextEvent> loading = recorder.TextsAt(290, 240);
    ASSERT_EQ(loading.size(), 1u);
    EXPECT_EQ(loading[0].text, "Loading...");
    EXPECT_EQ(loading[0].index, LABEL_COLOUR);
    EXPECT_TRUE(loading[0].primary);
    EXPECT_EQ(paletteAtLoading, PaletteBytes(ball.palette));
    EXPECT_EQ(PaletteBytes(CurrentPalette), PaletteBytes(title.palette));
    EXPECT_EQ(ScratchBitmap.pixels, nullptr);
    UnloadBitmapFile(&ball);
    UnloadBitmapFile(&title);
}

TEST_F(Assets, SpritesAreCutFromTheirCellsAtTheirOwnSizes) {
    Start("");
    BitmapFile ball = Read("BALL3D8BIG.BMP");
    BitmapFile paddles = Read("PADDLES3D8.BMP");

    for (Bob* b : {&Ball1, &Ball2}) {
        EXPECT_EQ(b->width, BALL_SIZE);
        EXPECT_EQ(b->height, BALL_SIZE);
        EXPECT_EQ(b->x, 60);
        EXPECT_EQ(b->y, 60);
        EXPECT_EQ(SameBobFrame(ball, 1, *b), "");
    }
    EXPECT_EQ(Paddle1.width, PADDLE1_WIDTH);
    EXPECT_EQ(Paddle2.width, PADDLE2_WIDTH);
    EXPECT_EQ(Paddle1.height, 8);
    // The top paddle is cell (1, 0) at its own width: column 67, not 68.
    EXPECT_EQ(SameBobFrame(paddles, 1, Paddle1), "");
    EXPECT_EQ(SameBobFrame(paddles, 67, Paddle2), "");
    EXPECT_NE(SameBobFrame(paddles, 68, Paddle2), "") << "the art cannot tell 67 from 68";
    for (Bob* b : {&Ball1, &Ball2, &Paddle1, &Paddle2}) {
        EXPECT_EQ(b->frameCount, 1);
        EXPECT_EQ(b->attributes & 0x11u, 0x11u);  // visible from the start
    }
    UnloadBitmapFile(&ball);
    UnloadBitmapFile(&paddles);
}

TEST_F(Assets, FullScreenPicturesSkipTheFirstColumnAndRowAndTheTitleSitsAt20) {
    Start("");
    struct Expect {
        BitmapImage* image;
        const char* file;
        int32_t width, height, x, y;
    };
    const Expect expected[] = {
        {&Backgrounds[0], "BACK81.BMP", 639, 479, 0, 0},
        {&Backgrounds[5], "BACK86.BMP", 639, 479, 0, 0},
        {&TitleImage, "TITLE8.BMP", 619, 459, 20, 20},
        {&LogoImage1, "harbeklogo8.bmp", 639, 479, 0, 0},
        {&LogoImage2, "bremlogo8.bmp", 639, 479, 0, 0},
        {&CreditsImage, "credits8.bmp", 639, 479, 0, 0},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.file);
        EXPECT_EQ(e.image->width, e.width);
        EXPECT_EQ(e.image->height, e.height);
        EXPECT_EQ(e.image->x, e.x);
        EXPECT_EQ(e.image->y, e.y);
        ASSERT_NE(e.image->attributes & IMAGE_LOADED, 0u);
        BitmapFile file = Read(e.file);
        EXPECT_EQ(SameRect(file, 1, 1, e.image->pixels, e.width, e.width, e.height), "");
        UnloadBitmapFile(&file);
    }
    // The two logos are different pictures (they are not swapped or shared).
    EXPECT_NE(std::memcmp(LogoImage1.pixels, LogoImage2.pixels, 639 * 479), 0);
}

TEST_F(Assets, AMissingPictureIsNamedOnceAndTheGameGoesOnWithoutIt) {
    fs::remove("TITLE8.BMP");
    testing::internal::CaptureStderr();
    Start("");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "volleen: cannot read TITLE8.BMP: no such file\n");
    EXPECT_EQ(TitleImage.width, 619);
    EXPECT_EQ(TitleImage.attributes & IMAGE_LOADED, 0u);
    EXPECT_NE(Backgrounds[0].attributes & IMAGE_LOADED, 0u);
    EXPECT_NE(CreditsImage.attributes & IMAGE_LOADED, 0u);
    // Without the title's colours the ball's palette stays in force.
    BitmapFile ball = Read("BALL3D8BIG.BMP");
    EXPECT_EQ(PaletteBytes(CurrentPalette), PaletteBytes(ball.palette));
    UnloadBitmapFile(&ball);
}

TEST_F(Assets, APictureTooSmallForItsPiecesIsRefusedRatherThanCutOutside) {
    // One column short: the top paddle would reach past the right edge.
    Palette palette = {};
    std::vector<uint8_t> pixels(131 * 9, 7);
    ASSERT_EQ(SaveBitmapFile("PADDLES3D8.BMP", pixels.data(), 131, 9, 131, palette), 1);
    support::WriteFileBytes("credits8.bmp", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    testing::internal::CaptureStderr();
    Start("");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(
        said.find(
            "volleen: cannot read PADDLES3D8.BMP: the picture is 131x9, smaller than 132x9\n"),
        std::string::npos)
        << said;
    EXPECT_NE(said.find("volleen: cannot read credits8.bmp: "), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;

    // The paddles keep their sizes (play goes by them) but show nothing.
    EXPECT_EQ(Paddle1.width, PADDLE1_WIDTH);
    EXPECT_EQ(Paddle2.width, PADDLE2_WIDTH);
    EXPECT_TRUE(FrameIsEmpty(Paddle1));
    EXPECT_TRUE(FrameIsEmpty(Paddle2));
    EXPECT_FALSE(FrameIsEmpty(Ball1));
    EXPECT_EQ(CreditsImage.attributes & IMAGE_LOADED, 0u);
}

}  // namespace

namespace {

TEST_F(Assets, ACourtWithoutItsPictureIsBlackSoNoOldFrameShowsThrough) {
    for (const char* name : {"BACK81.BMP", "BACK83.BMP", "BACK84.BMP", "BACK85.BMP", "BACK86.BMP"})
        fs::remove(name);
    fs::remove("BACK82.BMP");
    fs::create_directory("BACK82.BMP");
    testing::internal::CaptureStderr();
    Start("");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("volleen: cannot read BACK82.BMP: is a directory\n"), std::string::npos)
        << said;

    // What an earlier frame left in the back buffer must not survive the next.
    FillSurface(BackSurface, 99);
    BackgroundIndex = 1;
    DrawMatchScreen();
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    ASSERT_TRUE(platform::LockSurface(PrimarySurface, &pixels, &pitch));
    const uint8_t court = pixels[400 * pitch + 600];
    platform::UnlockSurface(PrimarySurface);
    EXPECT_EQ(court, 0);
}

}  // namespace
