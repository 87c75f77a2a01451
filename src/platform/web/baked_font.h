// The font the browser draws with: the native rasteriser's glyphs for
// printable ASCII, baked at build time by tools/fontbake, and the line layout
// that puts them where the rasteriser would.
#pragma once

#include <cstdint>

#include "platform/common/text_strip.h"

namespace platform::baked {

constexpr int FirstChar = 32;  // space
constexpr int CharCount = 95;  // up to '~'

struct Glyph {
    int16_t bearing;   // the left edge of the glyph's bitmap, from the pen
    int16_t inkX;      // the first lit column, from the pen
    int16_t inkY;      // the first lit row, from the top of the line
    int16_t inkWidth;  // the lit box; 0 x 0 for a space
    int16_t inkHeight;
    int16_t advance;    // whole pixels
    uint32_t firstBit;  // the box's pixels, row by row, in GlyphBits
};

extern const Glyph Glyphs[CharCount];
extern const uint8_t GlyphBits[];  // most significant bit first

// Lays `text` out as one line, each glyph a whole advance after the one
// before (the rasteriser does not kern): the mask spans from the line's left edge to
// its last lit column and from its top to its last lit row. Characters
// without a glyph are skipped.
void Layout(const char* text, text::Strip& strip);

}  // namespace platform::baked
