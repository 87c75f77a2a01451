// The display: start palette, locks, flips, fills, palettes and clip lists.
#include <cstring>

#include "graphics/bob.h"
#include "graphics_fixture.h"
#include "platform/common/surface.h"

namespace {

using DisplayTest = GraphicsTest;

TEST_F(DisplayTest, StartsWithFourRampsShownOnTheScreen) {
    Palette p;
    ASSERT_EQ(GetPalette(p), 1);
    auto rgb = [&](int n) {
        const PaletteEntry& e = p.entries[n];
        return std::vector<int>{e.red, e.green, e.blue};
    };
    EXPECT_EQ(rgb(0), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(rgb(63), (std::vector<int>{252, 0, 0}));
    EXPECT_EQ(rgb(64), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(rgb(127), (std::vector<int>{0, 252, 0}));
    EXPECT_EQ(rgb(130), (std::vector<int>{0, 0, 8}));
    EXPECT_EQ(rgb(192), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(rgb(255), (std::vector<int>{252, 252, 252}));
    for (const PaletteEntry& e : p.entries) EXPECT_EQ(e.flags, 4);
    EXPECT_EQ(std::memcmp(platform::display::Palette, &p, 1024), 0);
    EXPECT_EQ(ScreenWidth, 640);
    EXPECT_EQ(ScreenHeight, 480);
}

TEST_F(DisplayTest, UnopenableDisplaySaysWhyOnOneLine) {
    StopDisplay();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(StartDisplay(0, 480, 8), 0);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(said.empty());
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_EQ(PrimarySurface, nullptr);
}

TEST_F(DisplayTest, LocksAreIdempotentAndPaired) {
    uint8_t* first = LockPrimary();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LockPrimary(), first);
    EXPECT_EQ(PrimaryPixels, first);
    EXPECT_GE(PrimaryPitch, 640);
    EXPECT_EQ(UnlockPrimary(), 1);
    EXPECT_EQ(PrimaryPixels, nullptr);
    EXPECT_EQ(PrimaryPitch, 0);
    EXPECT_EQ(UnlockPrimary(), 0);
    EXPECT_FALSE(platform::IsSurfaceLocked(PrimarySurface));

    ASSERT_NE(LockBackBuffer(), nullptr);
    EXPECT_EQ(LockBackBuffer(), BackPixels);
    EXPECT_EQ(UnlockBackBuffer(), 1);
    EXPECT_EQ(UnlockBackBuffer(), 0);
    EXPECT_EQ(BackPixels, nullptr);
}

TEST_F(DisplayTest, FlipWaitsForLocksThenExchanges) {
    FillSurface(BackSurface, 0x1FF);  // low 8 bits: 0xFF
    LockBackBuffer();
    EXPECT_EQ(BackPixels[0], 0xFF);
    EXPECT_EQ(FlipDisplay(), 0);
    EXPECT_EQ(PrimarySurface->pixels[0], 0);  // nothing shown yet
    UnlockBackBuffer();
    EXPECT_EQ(FlipDisplay(), 1);
    EXPECT_EQ(PrimarySurface->pixels[0], 0xFF);
    EXPECT_EQ(BackSurface->pixels[0], 0);

    LockPrimary();
    EXPECT_EQ(FlipDisplay(), 0);
    UnlockPrimary();
}

TEST_F(DisplayTest, PaletteRoundTripsExactly) {
    Palette given;
    for (int i = 0; i < 1024; ++i) reinterpret_cast<uint8_t*>(&given)[i] = uint8_t(i * 7 + 3);
    EXPECT_EQ(SetPalette(given), 1);
    Palette back;
    GetPalette(back);
    EXPECT_EQ(std::memcmp(&given, &back, 1024), 0);
    EXPECT_EQ(std::memcmp(platform::display::Palette, &given, 1024), 0);
}

TEST_F(DisplayTest, ClipperCutsBlits) {
    const platform::Rect rects[2] = {{10, 20, 100, 200}, {-5, 40, 60, 300}};
    ASSERT_NE(AttachClipper(BackSurface, 2, rects), nullptr);
    EXPECT_EQ(AttachClipper(nullptr, 1, rects), nullptr);

    // The whole screen: a 16-wide blit at x 630 shows its first 10 columns.
    const platform::Rect screen = {0, 0, 640, 480};
    DisplayClipper = AttachClipper(BackSurface, 1, &screen);
    ASSERT_NE(DisplayClipper, nullptr);
    platform::Surface* source = platform::CreateSurface(16, 1);
    for (int c = 0; c < 16; ++c) source->pixels[c] = uint8_t(c + 1);
    ASSERT_TRUE(platform::BlitKeyed(BackSurface, 630, 0, source, 16, 1));
    for (int c = 0; c < 10; ++c) EXPECT_EQ(BackSurface->pixels[630 + c], c + 1);
    EXPECT_EQ(BackSurface->pixels[BackSurface->pitch], 0);  // nothing wrapped to row 1
    platform::ReleaseSurface(source);
}

}  // namespace
