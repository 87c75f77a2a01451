// Text on the display surfaces, in an RGB colour or a palette entry's colour.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The shared text buffer into which scores, words and key names are formatted.
extern char TextBuffer[80];

// colour is 0x00BBGGRR; the glyphs take the palette entry nearest to it.
int32_t DrawTextRgb(const char* text, int32_t x, int32_t y, uint32_t colour,
                    platform::Surface* surface);
int32_t DrawTextIndexed(const char* text, int32_t x, int32_t y, int32_t index,
                        platform::Surface* surface);

// The entry of CurrentPalette nearest to `colour` (0x00BBGGRR): least squared
// distance over red, green and blue; the lowest index wins a tie.
uint8_t NearestPaletteIndex(uint32_t colour);
