// Palettes: 256 entries of red, green, blue, flags.
#pragma once

#include <cstdint>

struct PaletteEntry {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t flags;  // always 4 in every palette the game builds or loads
};

struct Palette {
    PaletteEntry entries[256];
};
static_assert(sizeof(Palette) == 1024);

constexpr uint8_t PALETTE_FLAGS = 4;
