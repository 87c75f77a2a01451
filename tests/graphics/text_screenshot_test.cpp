// The game's words on the visible screen, compared with reviewed screenshots.
//
// A mismatch means a text moved, changed size or shape, or came out in
// another palette entry: the golden pictures were looked at by a person, so
// any difference is a change to what players see. When the change is meant
// (a new font, say), look at the new pictures and rewrite them with
//   VOLLEEN_UPDATE_GOLDEN=1 ./tests/test_graphics --gtest_filter='TextScreenshot*'
#include <cstdlib>
#include <cstring>

#include "common/layout.h"
#include "graphics/bitmap_file.h"
#include "graphics/text.h"
#include "graphics_fixture.h"
#include "platform/common/surface.h"

namespace {

struct Words {
    const char* text;
    int x;
    int y;
    int index;  // -1: white through DrawTextRgb
};

struct Screen {
    const char* golden;
    std::vector<Words> words;
};

const std::vector<Screen>& Screens() {
    static const std::vector<Screen> screens = {
        {"match_mode1.bmp",
         {{"Player 1 - 0", 20, 1, -1},
          {"Player 2 - 0", 548, 1, -1},
          {"click to continue", 265, 235, PROMPT_COLOUR}}},
        {"match_mode2.bmp",
         {{"Player 1 - 9", 20, 1, -1},
          {"Player 2 - 10", 542, 1, -1},
          {"press space to continue", 235, 235, PROMPT_COLOUR}}},
        {"still_screens.bmp",
         {{"Enter a new key for the corresponding action", 160, 160, LABEL_COLOUR},
          {"Loading...", 290, 240, LABEL_COLOUR},
          {"Press ESCAPE to go back to the main menu..", 160, 300, LABEL_COLOUR},
          {"Off", MENU_MUSIC_X, MENU_MUSIC_Y, MUSIC_OFF_COLOUR}}},
    };
    return screens;
}

void Draw(const Words& w) {
    if (w.index < 0) {
        ASSERT_EQ(DrawTextRgb(w.text, w.x, w.y, 0xFFFFFF, PrimarySurface), 1);
    } else {
        ASSERT_EQ(DrawTextIndexed(w.text, w.x, w.y, w.index, PrimarySurface), 1);
    }
}

using TextScreenshot = GraphicsTest;

TEST_F(TextScreenshot, EachTextLiesWhereItIsDrawn) {
    for (const Screen& screen : Screens()) {
        for (const Words& w : screen.words) {
            FillSurface(PrimarySurface, 0);
            Draw(w);
            const platform::Surface* s = PrimarySurface;
            int left = 640, top = 480, right = -1, bottom = -1;
            const uint8_t expected = w.index < 0 ? 255 : uint8_t(w.index);
            for (int y = 0; y < 480; ++y) {
                for (int x = 0; x < 640; ++x) {
                    const uint8_t p = s->pixels[y * s->pitch + x];
                    if (p == 0) continue;
                    EXPECT_EQ(p, expected) << w.text;
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
            // Glyphs of a 13-pixel font: inside a line's height and about
            // 4 to 10 pixels a character.
            const int length = int(std::strlen(w.text));
            EXPECT_GE(left, w.x) << w.text;
            EXPECT_LE(left, w.x + 3) << w.text;
            EXPECT_GE(top, w.y) << w.text;
            EXPECT_LT(bottom, w.y + 17) << w.text;
            EXPECT_GT(bottom - top, 6) << w.text;
            EXPECT_GT(right - left, 4 * length - 4) << w.text;
            EXPECT_LT(right - left, 10 * length) << w.text;
        }
    }
}

TEST_F(TextScreenshot, ScreensMatchTheReviewedPictures) {
    const bool update = std::getenv("VOLLEEN_UPDATE_GOLDEN") != nullptr;
    for (const Screen& screen : Screens()) {
        FillSurface(PrimarySurface, 0);
        for (const Words& w : screen.words) Draw(w);
        const platform::Surface* s = PrimarySurface;
        const std::string golden =
            std::string(VOLLEEN_SOURCE_DIR) + "/tests/graphics/golden/" + screen.golden;
        if (update) {
            ASSERT_EQ(SaveBitmapFile(golden.c_str(), s->pixels.data(), 640, 480, s->pitch,
                                     CurrentPalette),
                      1);
        }
        BitmapFile expected{};
        ASSERT_EQ(LoadBitmapFile(&expected, golden.c_str()), 1)
            << "no golden picture " << golden << " (make it with VOLLEEN_UPDATE_GOLDEN=1)";
        ASSERT_EQ(expected.infoHeader.biWidth, 640);
        ASSERT_EQ(expected.infoHeader.biHeight, 480);
        int differences = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                if (expected.pixels[y * 640 + x] != s->pixels[y * s->pitch + x]) ++differences;
            }
        }
        if (differences != 0) {
            // Kept in the build folder for a person to look at, only when it differs.
            const std::string actual = std::string(VOLLEEN_BINARY_DIR) + "/text-" + screen.golden;
            SaveBitmapFile(actual.c_str(), s->pixels.data(), 640, 480, s->pitch, CurrentPalette);
            ADD_FAILURE() << screen.golden << " differs from what is drawn now in " << differences
                          << " pixels (" << actual << "); see the note at the top of this file";
        }
        UnloadBitmapFile(&expected);
    }
}

}  // namespace
