// A line of text as a mask, and stamping it onto a surface: shared by the
// native rasteriser and the browser's baked font.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/common/surface.h"

namespace platform::text {

struct Strip {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> mask;  // width * height, 1 where a glyph pixel is
};

// Sets the surface's pixels under the strip's glyph pixels, with the strip's
// top-left corner at (x, y), to `index`, cut at the surface's edges; touches
// the surface when a pixel was set.
void Stamp(Surface* surface, int32_t x, int32_t y, const Strip& strip, uint8_t index);

}  // namespace platform::text
