#include "platform/sdl/picture_scale.h"

#include <cstring>
#include <vector>

namespace platform::sdl {

void ScaleThroughPalette(const PixelBlock& from, const uint32_t colours[256],
                         const PixelBlock& to) {
    if (from.width <= 0 || from.height <= 0 || to.width <= 0 || to.height <= 0) return;
    const bool sameWidth = to.width == from.width;
    // The source column of every destination column, and a row in colour,
    // worked out once a call and once a source row.
    std::vector<int> column(sameWidth ? 0 : static_cast<size_t>(to.width));
    for (int x = 0; x < static_cast<int>(column.size()); ++x) {
        column[x] = static_cast<int>(static_cast<int64_t>(x) * from.width / to.width);
    }
    std::vector<uint32_t> coloured(sameWidth ? 0 : static_cast<size_t>(from.width));
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
        if (sameWidth) {
            for (int x = 0; x < to.width; ++x) out[x] = colours[source[x]];
        } else {
            for (int x = 0; x < from.width; ++x) coloured[x] = colours[source[x]];
            for (int x = 0; x < to.width; ++x) out[x] = coloured[column[x]];
        }
        previousRow = row;
        previousLine = line;
    }
}

}  // namespace platform::sdl
