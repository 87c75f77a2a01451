#include "platform/sdl/picture_scale.h"

#include <cstring>
#include <vector>

namespace platform::sdl {

void ScaleThroughPalette(const PixelBlock& from, const uint32_t colours[256],
                         const PixelBlock& to) {
    if (from.width <= 0 || from.height <= 0 || to.width <= 0 || to.height <= 0) return;
    // The source column of every destination column, worked out once a call.
    std::vector<int> column(static_cast<size_t>(to.width));
    for (int x = 0; x < to.width; ++x) {
        column[x] = static_cast<int>(static_cast<int64_t>(x) * from.width / to.width);
    }
    int previousRow = -1;
    const uint8_t* previousLine = nullptr;
    for (int y = 0; y < to.height; ++y) {
        const int row = static_cast<int>(static_cast<int64_t>(y) * from.height / to.height);
        uint8_t* line = to.pixels + static_cast<size_t>(y) * to.pitch;
        if (row == previousRow) {
            // A repeated row is a copy of the one above.
            std::memcpy(line, previousLine, static_cast<size_t>(to.width) * 4);
            continue;
        }
        const uint8_t* source = from.pixels + static_cast<size_t>(row) * from.pitch;
        auto* out = reinterpret_cast<uint32_t*>(line);
        for (int x = 0; x < to.width; ++x) out[x] = colours[source[column[x]]];
        previousRow = row;
        previousLine = line;
    }
}

}  // namespace platform::sdl
