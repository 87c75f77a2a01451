#include "graphics/transitions.h"

#include "clock/frame_clock.h"
#include "graphics/display.h"

Palette SavedPalette;

namespace {

constexpr uint32_t StepMs = 12;
constexpr int32_t FadeSteps = 80;

// Drops by 3 but snaps small values to 0; 80 steps leave 255 at 15.
uint8_t StepToBlack(uint8_t c) { return c <= 4 ? 0 : static_cast<uint8_t>(c - 3); }

}  // namespace

void FadeToBlack() {
    for (int32_t step = 0; step < FadeSteps; ++step) {
        // A fresh copy each step, changed, shown, then held for a step. Entry
        // 0 stays: it is the colour the cleared screen will show.
        Palette work;
        GetPalette(work);
        for (int32_t n = 1; n < 256; ++n) {
            PaletteEntry& e = work.entries[n];
            e.red = StepToBlack(e.red);
            e.green = StepToBlack(e.green);
            e.blue = StepToBlack(e.blue);
        }
        SetPalette(work);
        StartFrameClock();
        WaitFrameClock(StepMs);
    }
}

int32_t FadeOutAndClear() {
    GetPalette(SavedPalette);
    UnlockPrimary();
    FadeToBlack();
    FillSurface(PrimarySurface, 0);
    FillSurface(BackSurface, 0);
    SetPalette(SavedPalette);
    return 1;
}
