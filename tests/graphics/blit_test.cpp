// Blitter objects and images: what lands where, and that nothing
// lands outside the block it belongs to.
#include <cstring>
#include <numeric>

#include "graphics/bitmap_image.h"
#include "graphics/bob.h"
#include "graphics_fixture.h"
#include "platform/common/surface.h"

namespace {

// A screen-sized block with a wide pitch and guard bytes before and after.
struct GuardedScreen {
    static constexpr int Pitch = 700;
    static constexpr int Guard = 4096;
    std::vector<uint8_t> bytes = std::vector<uint8_t>(Guard * 2 + Pitch * 480, 0xCC);
    uint8_t* pixels() { return bytes.data() + Guard; }
    uint8_t at(int x, int y) { return pixels()[y * Pitch + x]; }
    bool guardsIntact() {
        for (int i = 0; i < Guard; ++i) {
            if (bytes[i] != 0xCC || bytes[bytes.size() - 1 - i] != 0xCC) return false;
        }
        return true;
    }
    int count(uint8_t value) { return int(std::count(bytes.begin(), bytes.end(), value)); }
};

class BlitTest : public GraphicsTest {
protected:
    Bob bob{};
    BitmapImage image{};
    BitmapFile file{};
    void SetUp() override {
        GraphicsTest::SetUp();
        const platform::Rect screen = {0, 0, ScreenWidth, ScreenHeight};
        DisplayClipper = AttachClipper(BackSurface, 1, &screen);
    }
    void TearDown() override {
        DestroyBob(&bob);
        DestroyBitmapImage(&image);
        std::free(file.pixels);
        GraphicsTest::TearDown();
    }
    // An 8-bit file whose pixel at (c, r) is (r * width + c) mod 251 + 1.
    void MakeFile(int width, int height) {
        file.infoHeader.biWidth = width;
        file.infoHeader.biHeight = height;
        file.infoHeader.biBitCount = 8;
        file.pixels = static_cast<uint8_t*>(std::malloc(size_t(width) * height));
        for (int i = 0; i < width * height; ++i) file.pixels[i] = uint8_t(i % 251 + 1);
    }
    uint8_t FilePixel(int c, int r) { return uint8_t((r * file.infoHeader.biWidth + c) % 251 + 1); }
    uint8_t Back(int x, int y) { return BackSurface->pixels[y * BackSurface->pitch + x]; }
};

TEST_F(BlitTest, FrameSurfacesArePaddedToEightColumns) {
    for (auto [width, pad] : {std::pair{8, 0}, {11, 5}, {65, 7}, {66, 6}}) {
        ASSERT_EQ(CreateBob(&bob, 1, 2, width, 8, 2, 0x11, 0x800), 1);
        EXPECT_EQ(bob.widthPad, pad);
        EXPECT_EQ(platform::SurfaceWidth(bob.frames[1]), width + pad);
        EXPECT_EQ(bob.frames[2], nullptr);
        EXPECT_EQ(bob.state, BOB_STATE_ALIVE);
        DestroyBob(&bob);
    }
    EXPECT_EQ(CreateBob(&bob, 0, 0, 8, 8, 65, 0x11, 0x800), 0);  // more than the slots
    EXPECT_EQ(bob.frameCount, 0);
}

TEST_F(BlitTest, BobWithoutFramesOrHiddenDrawsNothing) {
    ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 0, BOB_VISIBLE, 0x800), 1);
    EXPECT_EQ(DrawBob(&bob, BackSurface), 0);

    MakeFile(20, 20);
    ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 1, BOB_VISIBLE, 0x800), 1);
    ASSERT_EQ(LoadBobFrame(&bob, &file, 0, 0, 0, 0), 1);
    HideBob(&bob);
    EXPECT_EQ(DrawBob(&bob, BackSurface), 1);
    EXPECT_EQ(Back(0, 0), 0);
    ShowBob(&bob);
    LockBackBuffer();
    EXPECT_EQ(DrawBob(&bob, BackSurface), 0);  // locked destination
    UnlockBackBuffer();
    EXPECT_EQ(DrawBob(&bob, BackSurface), 1);
    EXPECT_EQ(Back(0, 0), FilePixel(1, 1));

    EXPECT_EQ(ShowBob(nullptr), 0);
    EXPECT_EQ(HideBob(nullptr), 0);
    EXPECT_EQ(SetBobPosition(nullptr, 1, 1), 0);
    EXPECT_EQ(SetBobVelocity(nullptr, 1, 1), 0);
    EXPECT_EQ(DrawBob(nullptr, BackSurface), 0);
    EXPECT_EQ(LoadBobFrame(nullptr, &file, 0, 0, 0, 0), 0);
}

TEST_F(BlitTest, CellsAndPixelPositionsPickTheSource) {
    MakeFile(140, 20);
    ASSERT_EQ(CreateBob(&bob, 0, 0, 65, 8, 3, BOB_VISIBLE, 0x800), 1);
    ASSERT_EQ(LoadBobFrame(&bob, &file, 0, 0, 0, 0), 1);  // from (1, 1)
    ASSERT_EQ(LoadBobFrame(&bob, &file, 1, 1, 0, 0), 1);  // from (67, 1)
    ASSERT_EQ(LoadBobFrame(&bob, &file, 2, 3, 4, 1), 1);  // from (3, 4)
    EXPECT_NE(bob.attributes & BOB_LOADED, 0u);
    const uint8_t* f0 = bob.frames[0]->pixels.data();
    const uint8_t* f1 = bob.frames[1]->pixels.data();
    const uint8_t* f2 = bob.frames[2]->pixels.data();
    const int pitch = bob.frames[0]->pitch;
    EXPECT_EQ(f0[0], FilePixel(1, 1));
    EXPECT_EQ(f0[7 * pitch + 64], FilePixel(65, 8));
    EXPECT_EQ(f0[65], 0);  // pad columns stay empty
    EXPECT_EQ(f1[0], FilePixel(67, 1));
    EXPECT_EQ(f2[pitch + 2], FilePixel(5, 5));

    // Out of range: refused, nothing written; partly outside: cut.
    EXPECT_EQ(LoadBobFrame(&bob, &file, 3, 0, 0, 0), 0);
    EXPECT_EQ(LoadBobFrame(&bob, &file, -1, 0, 0, 0), 0);
    EXPECT_EQ(LoadBobFrame(&bob, &file, 0, 5, 0, 0), 0);
    EXPECT_EQ(f0[0], FilePixel(1, 1));
    ASSERT_EQ(LoadBobFrame(&bob, &file, 2, 100, 15, 1), 1);
    EXPECT_EQ(f2[0], FilePixel(100, 15));
    EXPECT_EQ(f2[39], FilePixel(139, 15));
    EXPECT_EQ(f2[40], FilePixel(43, 4));  // beyond the file: left as it was
    EXPECT_EQ(f2[5 * pitch], FilePixel(3, 9));
    ASSERT_EQ(LoadBobFrame(&bob, &file, 2, -2, -1, 1), 1);
    EXPECT_EQ(f2[pitch + 2], FilePixel(0, 0));

    file.infoHeader.biBitCount = 16;
    EXPECT_EQ(LoadBobFrame(&bob, &file, 0, 0, 0, 0), 0);
}

TEST_F(BlitTest, BobsAreCutAtTheScreenAndKeyedOnZero) {
    MakeFile(30, 30);
    file.pixels[1 * 30 + 1] = 0;  // top-left corner of cell (0, 0)
    FillSurface(BackSurface, 200);
    ASSERT_EQ(CreateBob(&bob, -5, 10, 11, 11, 1, BOB_VISIBLE, 0x800), 1);
    ASSERT_EQ(LoadBobFrame(&bob, &file, 0, 0, 0, 0), 1);
    ASSERT_EQ(DrawBob(&bob, BackSurface), 1);
    for (int c = 0; c < 6; ++c) EXPECT_EQ(Back(c, 10), FilePixel(6 + c, 1)) << c;
    EXPECT_EQ(Back(6, 10), 200);
    EXPECT_EQ(Back(0, 20), FilePixel(6, 11));
    EXPECT_EQ(Back(0, 21), 200);

    FillSurface(BackSurface, 200);
    SetBobPosition(&bob, 50, 50);
    ASSERT_EQ(DrawBob(&bob, BackSurface), 1);
    EXPECT_EQ(Back(50, 50), 200);  // the transparent corner
    EXPECT_EQ(Back(51, 50), FilePixel(2, 1));
}

TEST_F(BlitTest, ImagesCopyOpaqueOrTransparentAndStayOnScreen) {
    ASSERT_EQ(CreateBitmapImage(&image, 630, 470, 20, 20), 1);
    EXPECT_EQ(image.byteCount, 400);
    GuardedScreen s;
    EXPECT_EQ(DrawBitmapImage(&image, s.pixels(), s.Pitch, 0), 0);  // never loaded
    image.attributes |= IMAGE_LOADED;                               // all zeros
    EXPECT_EQ(DrawBitmapImage(&image, s.pixels(), s.Pitch, 1), 1);
    EXPECT_EQ(s.count(0), 0);
    EXPECT_EQ(DrawBitmapImage(&image, s.pixels(), s.Pitch, 0), 1);
    EXPECT_EQ(s.count(0), 100);  // the 10 x 10 corner that is on the screen
    EXPECT_EQ(s.at(639, 479), 0);
    EXPECT_EQ(s.at(640, 479), 0xCC);
    EXPECT_TRUE(s.guardsIntact());

    MakeFile(30, 30);
    ASSERT_EQ(LoadBitmapImage(&image, &file, 0, 0, 0), 1);
    image.x = -3;
    image.y = -2;
    ASSERT_EQ(DrawBitmapImage(&image, s.pixels(), s.Pitch, 0), 1);
    EXPECT_EQ(s.at(0, 0), FilePixel(4, 3));
    EXPECT_EQ(s.at(16, 17), FilePixel(20, 20));
    EXPECT_EQ(s.at(17, 0), 0xCC);
    EXPECT_TRUE(s.guardsIntact());

    EXPECT_EQ(DestroyBitmapImage(&image), 1);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.attributes, 0u);
    EXPECT_EQ(DestroyBitmapImage(&image), 0);
    EXPECT_EQ(DrawBitmapImage(&image, s.pixels(), s.Pitch, 0), 0);
    EXPECT_EQ(LoadBitmapImage(&image, &file, 0, 0, 0), 0);
    EXPECT_EQ(CreateBitmapImage(&image, 0, 0, -1, 5), 0);
}

}  // namespace
