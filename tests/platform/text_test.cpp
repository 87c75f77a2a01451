// The text rasteriser: solid glyphs in one index, cached, cut at the edges.
#include <gtest/gtest.h>

#include <set>

#include "platform/common/surface.h"
#include "platform/common/text_raster.h"

namespace {

using platform::Surface;
namespace text = platform::text;

TEST(Text, PressSpaceLineHasTheExpectedWidth) {
    const int32_t width = text::Width("press space to continue");
    EXPECT_GE(width, 150);
    EXPECT_LE(width, 190);
    EXPECT_GE(text::Height("press space to continue"), 12);
    EXPECT_LE(text::Height("press space to continue"), 20);
    EXPECT_EQ(text::Width(""), 0);
}

TEST(Text, GlyphsTakeOnlyTheIndexAndLeaveTheBackground) {
    Surface* s = platform::CreateSurface(200, 40);
    platform::FillSurface(s, 17);
    ASSERT_TRUE(text::Draw(s, 5, 5, "Volleen 10", 200));
    std::set<uint8_t> seen(s->pixels.begin(), s->pixels.end());
    EXPECT_EQ(seen, (std::set<uint8_t>{17, 200}));  // solid: no in-between shades
    // Nothing outside the strip's box changed.
    const int32_t w = text::Width("Volleen 10"), h = text::Height("Volleen 10");
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (x < 5 || y < 5 || x >= 5 + w || y >= 5 + h) {
                ASSERT_EQ(s->pixels[y * s->pitch + x], 17);
            }
        }
    }
    platform::ReleaseSurface(s);
}

TEST(Text, SameTextTwiceGivesSamePixelsFromTheCache) {
    Surface* a = platform::CreateSurface(100, 30);
    Surface* b = platform::CreateSurface(100, 30);
    ASSERT_TRUE(text::Draw(a, 3, 4, "Player 1: 7", 1));
    const size_t cached = text::CachedStrips();
    ASSERT_TRUE(text::Draw(b, 3, 4, "Player 1: 7", 1));
    EXPECT_EQ(text::CachedStrips(), cached);
    EXPECT_EQ(a->pixels, b->pixels);
    // After a fresh start the font renders the same glyphs again.
    text::Shutdown();
    text::Shutdown();
    platform::FillSurface(b, 0);
    ASSERT_TRUE(text::Draw(b, 3, 4, "Player 1: 7", 1));
    EXPECT_EQ(a->pixels, b->pixels);
    platform::ReleaseSurface(a);
    platform::ReleaseSurface(b);
}

TEST(Text, CutAtEveryEdgeOfTheSurface) {
    Surface* whole = platform::CreateSurface(120, 40);
    ASSERT_TRUE(text::Draw(whole, 20, 10, "WWW", 9));
    // The same text drawn 20 px further left and 10 px higher on a small
    // surface shows exactly the part of it that falls inside.
    Surface* small = platform::CreateSurface(30, 8);
    ASSERT_TRUE(text::Draw(small, -10, -5, "WWW", 9));
    int drawn = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 30; ++x) {
            const uint8_t expected = whole->pixels[(y + 15) * whole->pitch + (x + 30)];
            ASSERT_EQ(small->pixels[y * small->pitch + x], expected) << x << "," << y;
            drawn += expected == 9;
        }
    EXPECT_GT(drawn, 0);
    // Completely off the surface: accepted, nothing written.
    Surface* blank = platform::CreateSurface(30, 8);
    EXPECT_TRUE(text::Draw(blank, 1000, -1000, "WWW", 9));
    EXPECT_TRUE(text::Draw(blank, -1000, 2, "WWW", 9));
    for (uint8_t p : blank->pixels) ASSERT_EQ(p, 0);
    platform::ReleaseSurface(whole);
    platform::ReleaseSurface(small);
    platform::ReleaseSurface(blank);
}

TEST(Text, RefusedOnALockedOrMissingSurface) {
    Surface* s = platform::CreateSurface(50, 20);
    uint8_t* p;
    int32_t pitch;
    platform::LockSurface(s, &p, &pitch);
    EXPECT_FALSE(text::Draw(s, 0, 0, "A", 3));
    platform::UnlockSurface(s);
    for (uint8_t v : s->pixels) ASSERT_EQ(v, 0);
    EXPECT_FALSE(text::Draw(nullptr, 0, 0, "A", 3));
    platform::ReleaseSurface(s);
}

}  // namespace
