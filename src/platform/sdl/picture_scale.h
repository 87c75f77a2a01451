// Drawing the 8-bit picture into a 32-bit window in one pass: each pixel
// through the palette and enlarged by repeating it, with no texture between.
#pragma once

#include <cstdint>

namespace platform::sdl {

struct PixelBlock {
    uint8_t* pixels;  // the block's top-left pixel
    int width;
    int height;
    int pitch;  // bytes from one row to the next
};

// Fills `to` (32-bit pixels) with `from` (8-bit indices into `colours`),
// enlarged to the block's size: destination pixel (x, y) takes source pixel
// (x * from.width / to.width, y * from.height / to.height). A whole multiple
// gives every source pixel the same square; any other size a nearest fit.
void ScaleThroughPalette(const PixelBlock& from, const uint32_t colours[256], const PixelBlock& to);

}  // namespace platform::sdl
