#include "graphics/pixels.h"

#include <cstring>

const int32_t ClipMinX = 0;
const int32_t ClipMinY = 0;
const int32_t ClipMaxX = 639;
const int32_t ClipMaxY = 479;

int32_t PlotPixel(int32_t x, int32_t y, int32_t colour, uint8_t* pixels, int32_t pitch) {
    // Cut to the clip rectangle like the runs: a stray point must not land
    // outside the locked block.
    if (pixels == nullptr) return 0;
    if (x < ClipMinX || x > ClipMaxX || y < ClipMinY || y > ClipMaxY) return 0;
    pixels[static_cast<int64_t>(y) * pitch + x] = static_cast<uint8_t>(colour);
    return 1;
}

void DrawHorizontalLine(int32_t x1, int32_t x2, int32_t y, int32_t colour, uint8_t* pixels,
                        int32_t pitch) {
    if (pixels == nullptr) return;
    if (y > ClipMaxY || y < ClipMinY) return;
    int32_t left = x1 < x2 ? x1 : x2;
    int32_t right = x1 < x2 ? x2 : x1;
    if (left > ClipMaxX || right < ClipMinX) return;
    if (left < ClipMinX) left = ClipMinX;
    if (right > ClipMaxX) right = ClipMaxX;
    // memset stores whole words with the colour in every byte.
    std::memset(pixels + static_cast<int64_t>(y) * pitch + left, colour & 0xFF,
                static_cast<size_t>(right - left + 1));
}

void DrawVerticalLine(int32_t y1, int32_t y2, int32_t x, int32_t colour, uint8_t* pixels,
                      int32_t pitch) {
    if (pixels == nullptr) return;
    if (x > ClipMaxX || x < ClipMinX) return;
    int32_t top = y1 < y2 ? y1 : y2;
    int32_t bottom = y1 < y2 ? y2 : y1;
    if (top > ClipMaxY || bottom < ClipMinY) return;
    if (top < ClipMinY) top = ClipMinY;
    if (bottom > ClipMaxY) bottom = ClipMaxY;
    for (int32_t r = top; r <= bottom; ++r) {
        pixels[static_cast<int64_t>(r) * pitch + x] = static_cast<uint8_t>(colour);
    }
}
