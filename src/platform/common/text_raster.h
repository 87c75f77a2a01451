// The text rasteriser shared by both backends: DejaVu Sans Bold at 13 px,
// solid (not antialiased) glyphs, from the font built into the binary.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/common/surface.h"

namespace platform::text {

// Draws `text` with its top-left corner at (x, y) in palette index `index`,
// leaving background pixels alone, cut at the surface's edges. Rendered
// strips are cached, so drawing the same text again costs no rasterising.
// False when the surface is null or locked.
bool Draw(Surface* surface, int32_t x, int32_t y, const char* text, uint8_t index);

// Width in pixels of the rendered text (0 for an empty text).
int32_t Width(const char* text);

// Height in pixels of the rendered strip (the font's line height; 0 for an
// empty text).
int32_t Height(const char* text);

// How many rendered texts the cache holds (lets tests see that a repeated
// draw rasterises nothing new).
size_t CachedStrips();

// Frees the font and the cache (called at exit; safe to call twice).
void Shutdown();

}  // namespace platform::text
