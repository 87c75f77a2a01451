// The fade on virtual time, the fade-out-and-clear and text colours.
#include "graphics/transitions.h"

#include <cstring>

#include "graphics/bob.h"
#include "graphics/text.h"
#include "graphics_fixture.h"
#include "platform/common/surface.h"

namespace {

class TransitionTest : public GraphicsTest {
protected:
    void SetEntry(int n, uint8_t r, uint8_t g, uint8_t b) {
        Palette p;
        GetPalette(p);
        p.entries[n] = {r, g, b, 4};
        SetPalette(p);
    }
    std::vector<int> Entry(int n) {
        const PaletteEntry& e = CurrentPalette.entries[n];
        return {e.red, e.green, e.blue, e.flags};
    }
    int CountNonZero(platform::Surface* s) {
        return int(s->pixels.size() - std::count(s->pixels.begin(), s->pixels.end(), 0));
    }
};

TEST_F(TransitionTest, FadeToBlackTakesEightyTimedSteps) {
    SetEntry(0, 100, 90, 80);
    SetEntry(1, 250, 5, 4);
    SetEntry(2, 255, 242, 241);
    SetEntry(3, 241, 241, 241);
    recorder.Clear();
    const uint32_t start = headless::VirtualMs();
    FadeToBlack();
    EXPECT_GE(headless::VirtualMs() - start, 960u);
    ASSERT_EQ(recorder.palettes.size(), 80u);
    for (size_t i = 1; i < 80; ++i) {
        EXPECT_GE(recorder.palettes[i].ms - recorder.palettes[i - 1].ms, 12u);
    }
    EXPECT_EQ(Entry(0), (std::vector<int>{100, 90, 80, 4}));
    EXPECT_EQ(Entry(1), (std::vector<int>{10, 0, 0, 4}));
    EXPECT_EQ(Entry(2), (std::vector<int>{15, 2, 0, 4}));
    EXPECT_EQ(Entry(3), (std::vector<int>{0, 0, 0, 4}));
}

TEST_F(TransitionTest, FadeOutAndClearRestoresThePalette) {
    SetEntry(3, 1, 2, 3);
    Palette before;
    GetPalette(before);
    FillSurface(BackSurface, 4);
    LockPrimary();
    PrimaryPixels[0] = 7;
    EXPECT_EQ(FadeOutAndClear(), 1);
    EXPECT_EQ(PrimaryPixels, nullptr);
    EXPECT_FALSE(platform::IsSurfaceLocked(PrimarySurface));
    Palette after;
    GetPalette(after);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    EXPECT_EQ(std::memcmp(&before, &SavedPalette, sizeof before), 0);
    EXPECT_EQ(std::memcmp(&before, platform::display::Palette, sizeof before), 0);
    EXPECT_EQ(CountNonZero(PrimarySurface), 0);
    EXPECT_EQ(CountNonZero(BackSurface), 0);
    EXPECT_EQ(recorder.palettes.size(), 1u + 80u + 1u);
}

TEST_F(TransitionTest, TextTakesTheNearestEntry) {
    SetEntry(20, 10, 200, 30);
    SetEntry(144, 10, 200, 30);  // same colour as 20: the lower entry serves
    SetEntry(145, 11, 201, 31);
    EXPECT_EQ(NearestPaletteIndex(0x1EC80A), 20);
    EXPECT_EQ(NearestPaletteIndex(0x1FC90B), 145);
    EXPECT_EQ(NearestPaletteIndex(0x000000), 0);
    EXPECT_EQ(NearestPaletteIndex(0x020000), 0);    // blue 2: five entries equally near
    EXPECT_EQ(NearestPaletteIndex(0xFFFFFF), 255);  // (252, 252, 252)

    ASSERT_EQ(DrawTextIndexed("Hi", 10, 10, 144, PrimarySurface), 1);
    ASSERT_EQ(DrawTextIndexed("Hi", 10, 30, 145, PrimarySurface), 1);
    ASSERT_EQ(DrawTextRgb("Hi", 10, 50, 0x0000FC, PrimarySurface), 1);
    ASSERT_EQ(recorder.texts.size(), 3u);
    EXPECT_EQ(recorder.texts[0].index, 20);
    EXPECT_EQ(recorder.texts[1].index, 145);
    EXPECT_EQ(recorder.texts[2].index, 63);
    EXPECT_GT(CountNonZero(PrimarySurface), 0);

    LockPrimary();
    EXPECT_EQ(DrawTextRgb("Hi", 0, 0, 0xFFFFFF, PrimarySurface), 0);
    UnlockPrimary();
    EXPECT_EQ(DrawTextRgb("Hi", 0, 0, 0xFFFFFF, nullptr), 0);
    EXPECT_EQ(recorder.texts.size(), 3u);
}

}  // namespace
