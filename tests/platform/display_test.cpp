// The display headless: flips, locks, palette and text reports.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/common/surface.h"
#include "support/headless_test.h"

namespace {

using platform::Surface;

class Display : public support::HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        std::string why;
        ASSERT_TRUE(platform::OpenDisplay(640, 480, &primary, &back, &why)) << why;
    }
    void TearDown() override {
        platform::CloseDisplay();
        HeadlessTest::TearDown();
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
    EXPECT_EQ(recorder.Log(true), (std::vector<std::string>{"0 flip", "0 sleep 33", "33 flip"}));
    EXPECT_EQ(recorder.flips, (std::vector<uint32_t>{1, 2}));
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
    EXPECT_TRUE(recorder.Log().empty());
    ASSERT_TRUE(platform::Flip());
    EXPECT_EQ(primary->pixels[0], 5);
    EXPECT_EQ(recorder.Log(true), (std::vector<std::string>{"0 flip"}));
}

TEST_F(Display, PaletteIsKeptAndReported) {
    uint8_t entries[1024];
    for (int i = 0; i < 1024; ++i) entries[i] = static_cast<uint8_t>(i * 7);
    platform::Sleep(12);
    platform::SetPalette(entries);
    EXPECT_EQ(std::memcmp(platform::display::Palette, entries, 1024), 0);
    ASSERT_EQ(recorder.palettes.size(), 1u);
    EXPECT_EQ(recorder.palettes[0].ms, 12u);
    EXPECT_EQ(recorder.palettes[0].entries, std::vector<uint8_t>(entries, entries + 1024));
}

TEST_F(Display, TextIsReportedWithItsSurface) {
    ASSERT_TRUE(platform::DrawText(primary, 290, 240, "Loading...", 255));
    ASSERT_TRUE(platform::DrawText(back, 10, 20, "7", 3));
    uint8_t* pixels;
    int32_t pitch;
    platform::LockSurface(back, &pixels, &pitch);
    EXPECT_FALSE(platform::DrawText(back, 10, 20, "8", 3));
    platform::UnlockSurface(back);
    EXPECT_EQ(recorder.Log(true), (std::vector<std::string>{"0 text primary 290,240 Loading...",
                                                            "0 text back 10,20 7"}));
    EXPECT_EQ(recorder.texts[0].index, 255);
    EXPECT_EQ(recorder.texts[1].index, 3);
}

TEST_F(Display, ShotCapturesTheVisibleScreenRowByRow) {
    Start("5 shot s.bmp\n");
    ASSERT_TRUE(platform::OpenDisplay(10, 3, &primary, &back, nullptr));
    uint8_t* pixels;
    int32_t pitch;
    platform::LockSurface(primary, &pixels, &pitch);
    ASSERT_EQ(pitch, 12);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x) pixels[y * pitch + x] = static_cast<uint8_t>(y * 10 + x);
    platform::UnlockSurface(primary);
    platform::Sleep(10);
    ASSERT_EQ(recorder.shots.size(), 1u);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(recorder.shots[0].pixels[i], i);
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

namespace {

// The one rule of every backend for when the picture reaches the screen:
// flips and waits show what changed; reading input never does; drawing on
// the visible surface followed by drawing elsewhere shows at once; a burst of
// drawing costs one show.
TEST_F(Display, ThePictureShowsAtFlipsWaitsAndWhenDrawingTurnsAway) {
    const uint32_t start = headless::PresentCount();
    auto shown = [&] { return headless::PresentCount() - start; };

    platform::FillSurface(primary, 3);
    for (int i = 0; i < 20; ++i) platform::DrawText(primary, 10, 10 * i, "Loading...", 7);
    uint8_t keys[256];
    platform::MouseReading mouse;
    platform::OpenKeyboard();
    platform::OpenMouse();
    platform::ReadKeyboard(keys);
    platform::ReadMouse(mouse);
    platform::EscapeDown();
    EXPECT_EQ(shown(), 0u) << "reading input showed the picture";

    // The game turns to other work (making a sprite): the still screen shows.
    Surface* sprite = platform::CreateSurface(16, 16);
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    ASSERT_TRUE(platform::LockSurface(sprite, &pixels, &pitch));
    platform::UnlockSurface(sprite);
    EXPECT_EQ(shown(), 1u);
    platform::IdleStep();
    EXPECT_EQ(shown(), 1u) << "nothing changed, nothing to show";

    platform::DrawText(primary, 0, 0, "x", 1);
    platform::Sleep(5);
    EXPECT_EQ(shown(), 2u);

    uint8_t palette[1024] = {};
    platform::SetPalette(palette);
    EXPECT_EQ(shown(), 2u) << "a palette shows at the next wait";
    platform::IdleStep();
    EXPECT_EQ(shown(), 3u);

    // Drawing the next frame in the back buffer shows nothing; the flip does.
    platform::FillSurface(back, 1);
    EXPECT_EQ(shown(), 3u);
    ASSERT_TRUE(platform::Flip());
    EXPECT_EQ(shown(), 4u);
    platform::WaitUntil(platform::PreciseTime() + 33'000);
    EXPECT_EQ(shown(), 4u);
    platform::ReleaseSurface(sprite);
}

}  // namespace
