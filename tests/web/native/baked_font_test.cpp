// The browser's baked font draws every text the game shows exactly as the
// native rasteriser does.
#include "platform/web/baked_font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/key_names.h"
#include "platform/common/surface.h"
#include "platform/common/text_raster.h"

namespace {

std::vector<std::string> GameTexts() {
    std::vector<std::string> texts = {
        "Loading...",
        "Enter a new key for the corresponding action",
        "Player 1 Left",
        "Player 1 Right",
        "Player 2 Left",
        "Player 2 Right",
        "Press ESCAPE to go back to the main menu..",
        "On",
        "Off",
        "click to continue",
        "press space to continue",
    };
    for (int score = 0; score <= 10; ++score) {
        for (const char* format :
             {"Player 1 - %d", "Player 2 - %d", "Player one score - %d", "Player two score - %d"}) {
            char text[64];
            std::snprintf(text, sizeof text, format, score);
            texts.push_back(text);
        }
    }
    for (const KeyNameRow& row : KeyNameTable) texts.push_back(row.text);
    return texts;
}

constexpr int32_t Wide = 2048;

// The text drawn in index 1 onto a cleared surface, by either font.
std::vector<uint8_t> Drawn(const std::string& text, bool baked) {
    platform::Surface* surface = platform::CreateSurface(Wide, 24);
    if (baked) {
        platform::text::Strip strip;
        platform::baked::Layout(text.c_str(), strip);
        platform::text::Stamp(surface, 3, 2, strip, 1);
    } else {
        platform::text::Draw(surface, 3, 2, text.c_str(), 1);
    }
    std::vector<uint8_t> pixels = surface->pixels;
    platform::ReleaseSurface(surface);
    return pixels;
}

std::string Picture(const std::vector<uint8_t>& pixels) {
    std::string rows;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 120; ++x) rows += pixels[y * Wide + x] ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

TEST(BakedFont, DrawsEveryGameTextLikeTheRasteriser) {
    const std::vector<std::string> texts = GameTexts();
    ASSERT_GT(texts.size(), 150u);
    for (const std::string& text : texts) {
        const std::vector<uint8_t> native = Drawn(text, false);
        const std::vector<uint8_t> baked = Drawn(text, true);
        ASSERT_NE(std::count(native.begin(), native.end(), 1), 0) << text;
        EXPECT_EQ(native, baked) << '"' << text << "\"\nnative:\n"
                                 << Picture(native) << "baked:\n"
                                 << Picture(baked);
    }
}

// Every printable character before and after every other, as a wider net
// than the game's own texts: kerning, ligatures and all.
TEST(BakedFont, DrawsEveryPairOfCharacters) {
    for (int a = 32; a < 127; ++a) {
        std::string line;
        for (int b = 32; b < 127; ++b) {
            line += static_cast<char>(a);
            line += static_cast<char>(b);
        }
        EXPECT_EQ(Drawn(line, false), Drawn(line, true))
            << "pairs of '" << static_cast<char>(a) << "'";
    }
}

}  // namespace
