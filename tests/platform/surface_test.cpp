// Surfaces, locks, fills and keyed, clipped blits.
#include "platform/common/surface.h"

#include <gtest/gtest.h>

namespace {

using platform::Surface;

uint8_t Pixel(const Surface* s, int x, int y) { return s->pixels[y * s->pitch + x]; }

// A sprite of `width` x `height` whose every pixel is `colour`.
Surface* Solid(int width, int height, uint8_t colour) {
    Surface* s = platform::CreateSurface(width, height);
    EXPECT_TRUE(platform::FillSurface(s, colour));
    return s;
}

int CountColour(const Surface* s, uint8_t colour) {
    int n = 0;
    for (int y = 0; y < s->height; ++y)
        for (int x = 0; x < s->width; ++x) n += Pixel(s, x, y) == colour;
    return n;
}

TEST(Surface, CreateGivesZeroedPixelsWithPitchRoundedToFour) {
    Surface* s = platform::CreateSurface(11, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(platform::SurfaceWidth(s), 11);
    EXPECT_EQ(platform::SurfaceHeight(s), 3);
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    ASSERT_TRUE(platform::LockSurface(s, &pixels, &pitch));
    EXPECT_EQ(pitch, 12);
    for (int i = 0; i < pitch * 3; ++i) ASSERT_EQ(pixels[i], 0);
    platform::UnlockSurface(s);
    platform::ReleaseSurface(s);

    EXPECT_EQ(platform::CreateSurface(0, 10), nullptr);
    EXPECT_EQ(platform::CreateSurface(10, -1), nullptr);
    EXPECT_EQ(platform::SurfaceWidth(nullptr), 0);
}

TEST(Surface, LockIsExclusiveAndRefusesFillsAndBlits) {
    Surface* s = platform::CreateSurface(8, 8);
    Surface* sprite = Solid(4, 4, 9);
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    ASSERT_TRUE(platform::LockSurface(s, &pixels, &pitch));
    EXPECT_TRUE(platform::IsSurfaceLocked(s));
    EXPECT_FALSE(platform::LockSurface(s, &pixels, &pitch));
    EXPECT_FALSE(platform::FillSurface(s, 3));
    EXPECT_FALSE(platform::BlitKeyed(s, 0, 0, sprite, 4, 4));
    EXPECT_FALSE(platform::BlitKeyed(sprite, 0, 0, s, 4, 4));  // locked source too
    EXPECT_EQ(CountColour(s, 0), 64);
    EXPECT_TRUE(platform::UnlockSurface(s));
    EXPECT_FALSE(platform::UnlockSurface(s));
    EXPECT_TRUE(platform::FillSurface(s, 3));
    EXPECT_EQ(CountColour(s, 3), 64);
    EXPECT_FALSE(platform::LockSurface(nullptr, &pixels, &pitch));
    platform::ReleaseSurface(s);
    platform::ReleaseSurface(sprite);
}

TEST(Surface, EveryPixelChangeMovesTheGeneration) {
    Surface* s = platform::CreateSurface(8, 8);
    Surface* sprite = Solid(2, 2, 5);
    uint32_t seen = s->generation;
    auto moved = [&] {
        const bool m = s->generation != seen;
        seen = s->generation;
        return m;
    };
    platform::FillSurface(s, 1);
    EXPECT_TRUE(moved());
    platform::BlitKeyed(s, 1, 1, sprite, 2, 2);
    EXPECT_TRUE(moved());
    uint8_t* p;
    int32_t pitch;
    platform::LockSurface(s, &p, &pitch);
    platform::UnlockSurface(s);
    EXPECT_TRUE(moved());
    platform::ReleaseSurface(s);
    platform::ReleaseSurface(sprite);
}

TEST(Blit, SpriteAt630OnA640SurfaceShowsTenColumns) {
    Surface* screen = platform::CreateSurface(640, 480);
    const platform::Rect whole{0, 0, 640, 480};
    ASSERT_TRUE(platform::SetClipList(screen, &whole, 1));
    Surface* sprite = Solid(16, 11, 7);
    ASSERT_TRUE(platform::BlitKeyed(screen, 630, 100, sprite, 16, 11));
    EXPECT_EQ(CountColour(screen, 7), 10 * 11);
    EXPECT_EQ(Pixel(screen, 630, 100), 7);
    EXPECT_EQ(Pixel(screen, 639, 110), 7);
    EXPECT_EQ(Pixel(screen, 629, 100), 0);
    // Nothing wrapped onto the next row's start.
    EXPECT_EQ(Pixel(screen, 0, 101), 0);
    platform::ReleaseSurface(screen);
    platform::ReleaseSurface(sprite);
}

TEST(Blit, NegativePositionShowsTheSpritesRightAndLowerPart) {
    Surface* screen = platform::CreateSurface(32, 32);
    Surface* sprite = platform::CreateSurface(8, 8);
    uint8_t* p;
    int32_t pitch;
    platform::LockSurface(sprite, &p, &pitch);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) p[y * pitch + x] = static_cast<uint8_t>(1 + x + 8 * y);
    platform::UnlockSurface(sprite);
    ASSERT_TRUE(platform::BlitKeyed(screen, -5, -2, sprite, 8, 8));
    // Column 5, row 2 of the sprite lands at (0, 0).
    EXPECT_EQ(Pixel(screen, 0, 0), 1 + 5 + 8 * 2);
    EXPECT_EQ(Pixel(screen, 2, 5), 1 + 7 + 8 * 7);
    EXPECT_EQ(CountColour(screen, 0), 32 * 32 - 3 * 6);
    // Entirely off the surface: accepted, nothing drawn.
    ASSERT_TRUE(platform::BlitKeyed(screen, 40, 0, sprite, 8, 8));
    ASSERT_TRUE(platform::BlitKeyed(screen, INT32_MAX - 2, INT32_MAX - 2, sprite, 8, 8));
    EXPECT_EQ(CountColour(screen, 0), 32 * 32 - 3 * 6);
    platform::ReleaseSurface(screen);
    platform::ReleaseSurface(sprite);
}

TEST(Blit, IndexZeroOfTheSourceIsTransparent) {
    Surface* screen = Solid(8, 8, 4);
    Surface* ball = platform::CreateSurface(3, 3);
    uint8_t* p;
    int32_t pitch;
    platform::LockSurface(ball, &p, &pitch);
    // A plus sign: the corners stay 0.
    p[1] = 9;
    p[pitch] = 9;
    p[pitch + 1] = 9;
    p[pitch + 2] = 9;
    p[2 * pitch + 1] = 9;
    platform::UnlockSurface(ball);
    ASSERT_TRUE(platform::BlitKeyed(screen, 2, 2, ball, 3, 3));
    EXPECT_EQ(Pixel(screen, 2, 2), 4);
    EXPECT_EQ(Pixel(screen, 4, 4), 4);
    EXPECT_EQ(Pixel(screen, 3, 2), 9);
    EXPECT_EQ(Pixel(screen, 3, 3), 9);
    EXPECT_EQ(CountColour(screen, 9), 5);
    platform::ReleaseSurface(screen);
    platform::ReleaseSurface(ball);
}

TEST(Blit, ClipListCutsToItsRectanglesOnly) {
    Surface* screen = platform::CreateSurface(20, 20);
    const platform::Rect two[2] = {{0, 0, 5, 5}, {10, 10, 30, 30}};
    ASSERT_TRUE(platform::SetClipList(screen, two, 2));
    Surface* big = Solid(20, 20, 6);
    ASSERT_TRUE(platform::BlitKeyed(screen, 0, 0, big, 20, 20));
    // 5x5 from the first, the second cut at the surface edge: 10x10.
    EXPECT_EQ(CountColour(screen, 6), 25 + 100);
    EXPECT_EQ(Pixel(screen, 7, 7), 0);
    EXPECT_EQ(Pixel(screen, 19, 19), 6);
    // An empty list cuts to the surface again.
    ASSERT_TRUE(platform::SetClipList(screen, nullptr, 0));
    ASSERT_TRUE(platform::BlitKeyed(screen, 0, 0, big, 20, 20));
    EXPECT_EQ(CountColour(screen, 6), 400);
    EXPECT_FALSE(platform::SetClipList(screen, nullptr, 1));
    platform::ReleaseSurface(screen);
    platform::ReleaseSurface(big);
}

TEST(Blit, RefusesASourceRectangleLargerThanTheSource) {
    Surface* screen = platform::CreateSurface(20, 20);
    Surface* sprite = Solid(4, 4, 2);
    EXPECT_FALSE(platform::BlitKeyed(screen, 0, 0, sprite, 5, 4));
    EXPECT_FALSE(platform::BlitKeyed(screen, 0, 0, sprite, 4, 5));
    EXPECT_FALSE(platform::BlitKeyed(screen, 0, 0, sprite, -1, 4));
    EXPECT_FALSE(platform::BlitKeyed(nullptr, 0, 0, sprite, 4, 4));
    EXPECT_FALSE(platform::BlitKeyed(screen, 0, 0, nullptr, 4, 4));
    EXPECT_EQ(CountColour(screen, 0), 400);
    // A part of the source: only its top-left 2 x 3 pixels.
    EXPECT_TRUE(platform::BlitKeyed(screen, 0, 0, sprite, 2, 3));
    EXPECT_EQ(CountColour(screen, 2), 6);
    platform::ReleaseSurface(screen);
    platform::ReleaseSurface(sprite);
}

TEST(Surface, SecondReleaseIsHarmless) {
    Surface* s = platform::CreateSurface(4, 4);
    platform::ReleaseSurface(s);
    platform::ReleaseSurface(s);
    platform::ReleaseSurface(nullptr);
}

}  // namespace
