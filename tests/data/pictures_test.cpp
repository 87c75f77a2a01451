// Every picture loads through the game's own loader, in the layout and
// sizes the game cuts from it, and shows in the colours the game expects.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "common/layout.h"
#include "generated.h"
#include "graphics/display.h"
#include "graphics/text.h"

using namespace data_test;

namespace {

struct Expected {
    const char* name;
    int width, height;
};

const Expected kPictures[] = {
    {"BALL3D8BIG.BMP", 12, 12},    {"PADDLES3D8.BMP", 132, 12}, {"BACK81.BMP", 640, 480},
    {"BACK82.BMP", 640, 480},      {"BACK83.BMP", 640, 480},    {"BACK84.BMP", 640, 480},
    {"BACK85.BMP", 640, 480},      {"BACK86.BMP", 640, 480},    {"TITLE8.BMP", 620, 460},
    {"harbeklogo8.bmp", 640, 480}, {"bremlogo8.bmp", 640, 480}, {"credits8.bmp", 640, 480},
    {"volleen-icon.bmp", 32, 32}};

const char* const kGamePaletteFiles[] = {"BALL3D8BIG.BMP", "PADDLES3D8.BMP",  "BACK81.BMP",
                                         "BACK82.BMP",     "BACK83.BMP",      "BACK84.BMP",
                                         "BACK85.BMP",     "BACK86.BMP",      "TITLE8.BMP",
                                         "credits8.bmp",   "volleen-icon.bmp"};

bool SameColours(const Palette& a, const Palette& b) {
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry &x = a.entries[i], &y = b.entries[i];
        if (x.red != y.red || x.green != y.green || x.blue != y.blue) return false;
    }
    return true;
}

Picture Load(const char* name) {
    Picture p;
    EXPECT_TRUE(LoadPicture(name, &p)) << name;
    return p;
}

}  // namespace

TEST(Pictures, EveryFileLoadsInTheStandardEightBitLayout) {
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(e.name);
        Picture p;
        ASSERT_TRUE(LoadPicture(e.name, &p));
        EXPECT_EQ(p.bits, 8);
        EXPECT_EQ(p.width, e.width);
        EXPECT_EQ(p.height, e.height);
        EXPECT_EQ(p.width % 4, 0);
        EXPECT_EQ(p.sizeImage, static_cast<uint32_t>(p.width * p.height));
        EXPECT_EQ(p.offBits, 1078u);
        EXPECT_EQ(p.fileSize, 1078u + p.sizeImage);
        EXPECT_EQ(ReadFileBytes(Folder() + "/" + e.name).size(), 1078u + p.sizeImage);
    }
}

TEST(Pictures, TheGamePaletteIsSharedAndKeepsBlackAndWhiteTrue) {
    Picture ball = Load("BALL3D8BIG.BMP");
    for (const char* name : kGamePaletteFiles) {
        Picture p = Load(name);
        EXPECT_TRUE(SameColours(p.palette, ball.palette)) << name;
    }
    // The game finds text colours by nearest entry, lowest index on ties.
    CurrentPalette = ball.palette;
    EXPECT_EQ(NearestPaletteIndex(0x000000), 0);
    const PaletteEntry& white = ball.palette.entries[NearestPaletteIndex(0xFFFFFF)];
    EXPECT_EQ(white.red, 255);
    EXPECT_EQ(white.green, 255);
    EXPECT_EQ(white.blue, 255);
    for (int i = 1; i < 256; ++i) {
        const PaletteEntry& e = ball.palette.entries[i];
        EXPECT_FALSE(e.red == 0 && e.green == 0 && e.blue == 0) << "entry " << i << " is black";
    }
}

TEST(Pictures, TheWordsColoursReadOnBlack) {
    Picture ball = Load("BALL3D8BIG.BMP");
    // Key names, "On", "Off", "Loading...", redefinition labels and caught keys.
    for (int entry :
         {KEY_NAME_COLOUR, LABEL_COLOUR, MUSIC_OFF_COLOUR, PROMPT_COLOUR, CAUGHT_KEY_COLOUR}) {
        EXPECT_GT(Luma(ball.palette, entry), 110.0) << "entry " << entry;
        // DrawTextIndexed asks for the entry's own colour: it must come back as
        // that colour, not as a darker neighbour.
        CurrentPalette = ball.palette;
        const PaletteEntry& want = ball.palette.entries[entry];
        const PaletteEntry& got =
            ball.palette.entries[NearestPaletteIndex(want.red | want.green << 8 | want.blue << 16)];
        EXPECT_TRUE(got.red == want.red && got.green == want.green && got.blue == want.blue);
    }
    // "On" and "Off" look different.
    const PaletteEntry &on = ball.palette.entries[KEY_NAME_COLOUR],
                       &off = ball.palette.entries[MUSIC_OFF_COLOUR];
    EXPECT_GT(std::abs(on.red - off.red) + std::abs(on.green - off.green), 100);
}

TEST(Pictures, LogosHaveTheirOwnColours) {
    Picture game = Load("BALL3D8BIG.BMP");
    Picture first = Load("harbeklogo8.bmp");
    Picture second = Load("bremlogo8.bmp");
    EXPECT_FALSE(SameColours(first.palette, game.palette));
    EXPECT_FALSE(SameColours(second.palette, game.palette));
    EXPECT_FALSE(SameColours(first.palette, second.palette));
    // Each uses plenty of its colours: a picture, not a blank screen.
    for (const Picture* p : {&first, &second}) {
        std::set<uint8_t> used(p->pixels.begin(), p->pixels.end());
        EXPECT_GT(used.size(), 60u);
    }
}

TEST(Sprites, BallIsRoundWithTransparentCorners) {
    Picture ball = Load("BALL3D8BIG.BMP");
    // The 11 x 11 cell at (1, 1).
    for (int x : {1, 11})
        for (int y : {1, 11}) EXPECT_EQ(ball.At(x, y), 0) << x << "," << y;
    for (int k = 1; k <= 11; ++k) {
        EXPECT_NE(ball.At(k, 6), 0) << "row through the middle, column " << k;
        EXPECT_NE(ball.At(6, k), 0) << "column through the middle, row " << k;
    }
    // Bright: the body of the ball is lighter than every court.
    double sum = 0;
    int n = 0;
    for (int y = 3; y <= 9; ++y)
        for (int x = 3; x <= 9; ++x) sum += Luma(ball.palette, ball.At(x, y)), ++n;
    EXPECT_GT(sum / n, 150.0);
}

TEST(Sprites, PaddlesFillTheirCellsAndTellTheSidesApart) {
    Picture p = Load("PADDLES3D8.BMP");
    // Bottom paddle 66 x 8 at (1, 1); top paddle 65 x 8 at (67, 1).
    struct Cell {
        int x, width;
    };
    double red[2] = {}, blue[2] = {};
    const Cell cells[2] = {{1, 66}, {67, 65}};
    for (int c = 0; c < 2; ++c) {
        const Cell& cell = cells[c];
        EXPECT_EQ(p.At(cell.x, 1), 0) << "rounded corner";
        EXPECT_EQ(p.At(cell.x + cell.width - 1, 8), 0) << "rounded corner";
        for (int x = cell.x + 4; x < cell.x + cell.width - 4; ++x)
            for (int y = 1; y <= 8; ++y) {
                ASSERT_NE(p.At(x, y), 0) << "hole at " << x << "," << y;
                red[c] += p.palette.entries[p.At(x, y)].red;
                blue[c] += p.palette.entries[p.At(x, y)].blue;
            }
    }
    // Nothing outside the two cells is drawn (the frames are cut exactly).
    for (int x = 0; x < p.width; ++x) EXPECT_EQ(p.At(x, 0), 0);
    for (int y = 9; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) EXPECT_EQ(p.At(x, y), 0);
    // Warm at the bottom, cool at the top.
    EXPECT_GT(red[0], blue[0] * 1.5);
    EXPECT_GT(blue[1], red[1] * 1.2);
}

TEST(Courts, SixDifferentCourtsInTheirColours) {
    std::vector<std::map<uint8_t, int>> counts;
    for (int i = 1; i <= 6; ++i) {
        std::string name = "BACK8" + std::to_string(i) + ".BMP";
        Picture p = Load(name.c_str());
        std::map<uint8_t, int> histogram;
        for (uint8_t v : p.pixels) ++histogram[v];
        EXPECT_GT(histogram.size(), 12u) << name << " is too plain";
        counts.push_back(histogram);
    }
    // No two courts share their most used colour.
    std::set<uint8_t> commonest;
    for (const auto& h : counts) {
        auto best = h.begin();
        for (auto it = h.begin(); it != h.end(); ++it)
            if (it->second > best->second) best = it;
        commonest.insert(best->first);
    }
    EXPECT_EQ(commonest.size(), 6u);
}

// The white score lines, the yellow serve prompt, the white ball and both
// paddles must read on every court where they appear.
TEST(Courts, ScoresPromptBallAndPaddlesStandOutOnEveryCourt) {
    Picture ball = Load("BALL3D8BIG.BMP");
    Picture paddles = Load("PADDLES3D8.BMP");
    auto meanLuma = [](const Picture& p, int x0, int y0, int x1, int y1) {
        double sum = 0;
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (p.At(x, y) != 0) sum += Luma(p.palette, p.At(x, y)), ++n;
        return sum / n;
    };
    const double ballLuma = meanLuma(ball, 1, 1, 11, 11);
    const double bottomLuma = meanLuma(paddles, 1, 1, 66, 8);
    const double topLuma = meanLuma(paddles, 67, 1, 131, 8);

    for (int i = 1; i <= 6; ++i) {
        std::string name = "BACK8" + std::to_string(i) + ".BMP";
        SCOPED_TRACE(name);
        Picture court = Load(name.c_str());
        // Score lines: white text from y 1, across the top.
        for (int y = 1; y <= 15; ++y)
            for (int x = 20; x <= 620; ++x)
                ASSERT_LT(Luma(court.palette, Screen(court, x, y)), 100.0) << x << "," << y;
        // The prompt: (235, 235) to its far end near x 405.
        for (int y = 235; y <= 250; ++y)
            for (int x = 235; x <= 405; ++x)
                ASSERT_LT(Luma(court.palette, Screen(court, x, y)),
                          Luma(court.palette, PROMPT_COLOUR) - 120.0)
                    << x << "," << y;
        // Sprites against the ground they move over: they differ clearly in
        // brightness from nearly all of it (lines and sparks may come close).
        auto check = [&](double sprite, int x0, int y0, int x1, int y1, const char* what) {
            int close = 0, n = 0;
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x, ++n)
                    if (std::fabs(Luma(court.palette, Screen(court, x, y)) - sprite) < 40) ++close;
            EXPECT_LT(close, n / 12) << what;
        };
        check(ballLuma, 22, 30, 617, 449, "ball");
        check(bottomLuma, 22, 450, 617, 457, "bottom paddle");
        check(topLuma, 22, 22, 617, 29, "top paddle");
    }
}
