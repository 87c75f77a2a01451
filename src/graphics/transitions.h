// Palette fades, wipes and the fade-out-and-clear between screens.
#pragma once

#include <cstdint>

#include "graphics/palette.h"

enum TransitionEffect : int32_t {
    FadeToBlack = 0,
    FadeToWhite = 1,
    ColumnWipe = 2,
    RowWipe = 3,
    PixelDissolve = 4,
    BoxWipe = 5,
    FadeToBlue = 6,
    FadeToRed = 7,
    FadeToGreen = 8,
};

// The colours in force before FadeOutAndClear faded them, put back after.
extern Palette SavedPalette;

void ScreenTransition(int32_t effect, uint8_t* pixels, int32_t pitch);
int32_t FadeOutAndClear();
