#include "graphics/text.h"

#include "graphics/display.h"

char TextBuffer[80];

uint8_t NearestPaletteIndex(uint32_t colour) {
    const int32_t red = static_cast<int32_t>(colour & 0xFF);
    const int32_t green = static_cast<int32_t>((colour >> 8) & 0xFF);
    const int32_t blue = static_cast<int32_t>((colour >> 16) & 0xFF);
    int32_t best = 0;
    int32_t bestDistance = -1;
    for (int32_t n = 0; n < 256; ++n) {
        const PaletteEntry& e = CurrentPalette.entries[n];
        const int32_t dr = e.red - red;
        const int32_t dg = e.green - green;
        const int32_t db = e.blue - blue;
        const int32_t distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = n;
            bestDistance = distance;
            if (distance == 0) break;
        }
    }
    return static_cast<uint8_t>(best);
}

int32_t DrawTextRgb(const char* text, int32_t x, int32_t y, uint32_t colour,
                    platform::Surface* surface) {
    // No drawing context on a missing or locked surface.
    if (text == nullptr || surface == nullptr || platform::IsSurfaceLocked(surface)) return 0;
    return platform::DrawText(surface, x, y, text, NearestPaletteIndex(colour)) ? 1 : 0;
}

int32_t DrawTextIndexed(const char* text, int32_t x, int32_t y, int32_t index,
                        platform::Surface* surface) {
    const PaletteEntry& e = CurrentPalette.entries[index & 0xFF];
    const uint32_t colour = static_cast<uint32_t>(e.red) | static_cast<uint32_t>(e.green) << 8 |
                            static_cast<uint32_t>(e.blue) << 16;
    return DrawTextRgb(text, x, y, colour, surface);
}
