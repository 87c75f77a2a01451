#include "platform/common/text_strip.h"

#include <cstddef>

namespace platform::text {

void Stamp(Surface* surface, int32_t x, int32_t y, const Strip& strip, uint8_t index) {
    bool changed = false;
    for (int32_t row = 0; row < strip.height; ++row) {
        const int64_t destinationRow = static_cast<int64_t>(y) + row;
        if (destinationRow < 0 || destinationRow >= surface->height) continue;
        uint8_t* line = surface->pixels.data() + destinationRow * surface->pitch;
        const uint8_t* mask = strip.mask.data() + static_cast<size_t>(row) * strip.width;
        for (int32_t column = 0; column < strip.width; ++column) {
            const int64_t destinationColumn = static_cast<int64_t>(x) + column;
            if (destinationColumn < 0 || destinationColumn >= surface->width) continue;
            if (mask[column] != 0) {
                line[destinationColumn] = index;
                changed = true;
            }
        }
    }
    if (changed) Touch(surface);
}

}  // namespace platform::text
