// Large lettering for the game's name: letters built from round strokes and
// lit like tubes, with a dark outline and a drop shadow.
#pragma once

#include "canvas.h"
#include "palette_builder.h"

namespace gen {

struct LetterStyle {
    const Ramp* fill;  // the tube's shading, dark to light
    uint8_t outline;   // the rim around every stroke
    uint8_t shadow;    // the drop shadow (0: none)
    int shadowOffset;
};

// Width in pixels of `word` (capitals V O L E N only) at letter height `height`.
int LetteringWidth(const char* word, int height);
// Draws `word` with its top-left corner at (x, y), letters `height` pixels high.
void DrawLettering(Canvas& canvas, int x, int y, const char* word, int height,
                   const LetterStyle& style);
// Larger copies of the game's font (any text), `scale` times its size,
// smoothed, shaded top to bottom along `fill`, with an outline.
void DrawBigText(Canvas& canvas, int x, int y, const char* text, int scale, const Ramp& fill,
                 uint8_t outline);
int BigTextWidth(const char* text, int scale);

}  // namespace gen
