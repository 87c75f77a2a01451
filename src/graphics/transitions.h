// The palette fade between screens.
#pragma once

#include <cstdint>

#include "graphics/palette.h"

// The colours in force before FadeOutAndClear faded them, put back after.
extern Palette SavedPalette;

// Eighty timed steps of the palette towards black (entry 0 is kept).
void FadeToBlack();
// Fades the screen out, clears both display surfaces and puts the colours
// back, ready for the next screen.
int32_t FadeOutAndClear();
