// The display headless: flips, locks, palette and text reports.
#include <gtest/gtest.h>

#include <cstring>

#include "headless_fixture.h"
#include "platform/common/surface.h"

namespace {

using platform::Surface;

class Display : public Headless {
protected:
    void SetUp() override {
        Headless::SetUp();
        char why[64];
        ASSERT_TRUE(platform::OpenDisplay(640, 480, &primary, &back, why, sizeof why)) << why;
    }
    void TearDown() override {
        platform::CloseDisplay();
        Headless::TearDown();
    }
    Surface* primary = nullptr;
    Surface* back = nullptr;
};

TEST_F(Display, FlipExchangesContentsNotHandles) {
    EXPECT_EQ(primary, platform::display::Primary);
    platform::FillSurface(back, 5);
    platform::FillSurface(primary, 9);
    ASSERT_TRUE(platform::Flip());
    EXPECT_EQ(primary->pixels[0], 5);
    EXPECT_EQ(back->pixels[640 * 480 - 1], 9);
    EXPECT_EQ(primary, platform::display::Primary);
    platform::Sleep(33);
    ASSERT_TRUE(platform::Flip());
    EXPECT_EQ(primary->pixels[0], 9);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"flip 0 1", "sleep 0 33", "flip 33 2"}));
}

TEST_F(Display, FlipIsRefusedWhileEitherSurfaceIsLocked) {
    platform::FillSurface(back, 5);
    uint8_t* pixels;
    int32_t pitch;
    ASSERT_TRUE(platform::LockSurface(back, &pixels, &pitch));
    EXPECT_FALSE(platform::Flip());
    EXPECT_EQ(primary->pixels[0], 0);
    platform::UnlockSurface(back);
    ASSERT_TRUE(platform::LockSurface(primary, &pixels, &pitch));
    EXPECT_FALSE(platform::Flip());
    platform::UnlockSurface(primary);
    EXPECT_TRUE(recorder.log.empty());
    ASSERT_TRUE(platform::Flip());
    EXPECT_EQ(primary->pixels[0], 5);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"flip 0 1"}));
}

TEST_F(Display, PaletteIsKeptAndReported) {
    uint8_t entries[1024];
    for (int i = 0; i < 1024; ++i) entries[i] = static_cast<uint8_t>(i * 7);
    platform::Sleep(12);
    platform::SetPalette(entries);
    EXPECT_EQ(std::memcmp(platform::display::Palette, entries, 1024), 0);
    EXPECT_EQ(recorder.log.back(), "palette 12 28");
}

TEST_F(Display, TextIsReportedWithItsSurface) {
    ASSERT_TRUE(platform::DrawText(primary, 290, 240, "Loading...", 255));
    ASSERT_TRUE(platform::DrawText(back, 10, 20, "7", 3));
    uint8_t* pixels;
    int32_t pitch;
    platform::LockSurface(back, &pixels, &pitch);
    EXPECT_FALSE(platform::DrawText(back, 10, 20, "8", 3));
    platform::UnlockSurface(back);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"text 0 primary 290,240 Loading... 255",
                                                      "text 0 back 10,20 7 3"}));
}

TEST_F(Display, ShotCapturesTheVisibleScreenRowByRow) {
    Start("5 shot s.bmp\n");
    char why[64];
    ASSERT_TRUE(platform::OpenDisplay(10, 3, &primary, &back, why, sizeof why));
    uint8_t* pixels;
    int32_t pitch;
    platform::LockSurface(primary, &pixels, &pitch);
    ASSERT_EQ(pitch, 12);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x) pixels[y * pitch + x] = static_cast<uint8_t>(y * 10 + x);
    platform::UnlockSurface(primary);
    platform::Sleep(10);
    ASSERT_EQ(recorder.shots.size(), 1u);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(recorder.shots[0][i], i);
}

TEST_F(Display, ConfigureClosesTheDisplay) {
    Start();
    EXPECT_EQ(platform::display::Primary, nullptr);
    EXPECT_FALSE(platform::Flip());
    // The game's old handles are gone; releasing them again does no harm.
    platform::ReleaseSurface(primary);
    platform::CloseDisplay();
}

}  // namespace
