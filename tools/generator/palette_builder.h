// The colours of our pictures: the game palette that the ball, paddles,
// courts, title and credits share, and the ramps the drawing code picks from.
#pragma once

#include <cstdint>
#include <vector>

#include "common/layout.h"
#include "graphics/palette.h"

namespace gen {

struct Rgb {
    int r, g, b;
};

// A run of palette entries from dark to light. Pick() dithers between two
// neighbouring entries so gradients look smooth in 256 colours.
struct Ramp {
    std::vector<uint8_t> entries;
    uint8_t Pick(double t, int x, int y) const;
    uint8_t At(int i) const;  // clamped to the ends
    int Size() const { return static_cast<int>(entries.size()); }
};

// Hands out palette entries, skipping the ones reserved for fixed colours.
struct PaletteBuilder {
    Palette palette{};
    bool used[256] = {};
    void Fix(int index, Rgb colour);
    // `count` free entries coloured along the stops (evenly spaced), dark first.
    Ramp Add(int count, const std::vector<Rgb>& stops);
};

// The ramps of the game palette.
struct GameColours {
    Ramp grey;  // near black to true white
    Ramp gold;  // bottom paddle, lettering
    Ramp cyan;  // top paddle
    Ramp grass, clay, hard, wood, dusk, magenta, basalt, ember, navy, sun;
};

extern GameColours Colours;
extern Palette GamePalette;

// Builds the game palette and ramps (idempotent).
void BuildGamePalette();

// 0..1 ordered-dither threshold for a pixel.
double DitherThreshold(int x, int y);

}  // namespace gen
