// The one-pass enlargement of the 8-bit picture into the window's pixels.
#include "platform/sdl/picture_scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::sdl::PixelBlock;
using platform::sdl::ScaleThroughPalette;

// A 3 x 2 picture whose rows lie 4 bytes apart, and colours that name the index.
struct Picture {
    std::vector<uint8_t> bytes{1, 2, 3, 99, 4, 5, 6, 99};
    uint32_t colours[256] = {};
    Picture() {
        for (uint32_t i = 0; i < 256; ++i) colours[i] = 0xFF000000u | i;
    }
    // The index shown at (x, y) of a `width` x `height` enlargement.
    std::vector<std::vector<uint8_t>> Scaled(int width, int height) {
        std::vector<uint32_t> out(static_cast<size_t>(width + 1) * height, 0);
        ScaleThroughPalette(
            {bytes.data(), 3, 2, 4}, colours,
            {reinterpret_cast<uint8_t*>(out.data()), width, height, (width + 1) * 4});
        std::vector<std::vector<uint8_t>> rows(height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                rows[y].push_back(static_cast<uint8_t>(out[y * (width + 1) + x]));
            }
            EXPECT_EQ(out[y * (width + 1) + width], 0u) << "wrote past the row";
        }
        return rows;
    }
};

TEST(PictureScale, WholeMultiplesGiveSquaresAndOtherSizesTheNearestPixel) {
    Picture picture;
    using Rows = std::vector<std::vector<uint8_t>>;
    EXPECT_EQ(
        picture.Scaled(6, 4),
        (Rows{{1, 1, 2, 2, 3, 3}, {1, 1, 2, 2, 3, 3}, {4, 4, 5, 5, 6, 6}, {4, 4, 5, 5, 6, 6}}));
    EXPECT_EQ(picture.Scaled(7, 3),
              (Rows{{1, 1, 1, 2, 2, 3, 3}, {1, 1, 1, 2, 2, 3, 3}, {4, 4, 4, 5, 5, 6, 6}}));
    EXPECT_EQ(picture.Scaled(3, 2), (Rows{{1, 2, 3}, {4, 5, 6}}));
}

}  // namespace
