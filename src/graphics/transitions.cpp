#include "graphics/transitions.h"

#include "graphics/display.h"
#include "graphics/pixels.h"
#include "shell/frame_clock.h"
#include "shell/random.h"

Palette SavedPalette;

namespace {

constexpr uint32_t StepMs = 12;

uint8_t Rise(uint8_t c, int32_t by) { return static_cast<uint8_t>(c + by > 255 ? 255 : c + by); }
uint8_t Drop(uint8_t c, int32_t by) { return static_cast<uint8_t>(c < by ? 0 : c - by); }

void WaitStep() {
    StartFrameClock();
    WaitFrameClock(StepMs);
}

// One palette step: a fresh copy, changed, shown, then held for a step.
void PaletteStep(void (*change)(PaletteEntry&), int32_t first) {
    Palette work;
    GetPalette(work);
    for (int32_t n = first; n < 256; ++n) change(work.entries[n]);
    SetPalette(work);
    WaitStep();
}

void StepToBlack(PaletteEntry& e) {
    // Drops by 3 but snaps small values to 0; 80 steps leave 255 at 15.
    e.red = e.red <= 4 ? 0 : static_cast<uint8_t>(e.red - 3);
    e.green = e.green <= 4 ? 0 : static_cast<uint8_t>(e.green - 3);
    e.blue = e.blue <= 4 ? 0 : static_cast<uint8_t>(e.blue - 3);
}

void StepToWhite(PaletteEntry& e) {
    e.red = Rise(e.red, 4);
    e.green = Rise(e.green, 4);
    e.blue = Rise(e.blue, 4);
}

void StepToBlue(PaletteEntry& e) {
    e.red = Drop(e.red, 4);
    e.green = Drop(e.green, 4);
    e.blue = Rise(e.blue, 6);
}

void StepToRed(PaletteEntry& e) {
    e.red = Rise(e.red, 6);
    e.green = Drop(e.green, 4);
    e.blue = Drop(e.blue, 4);
}

void StepToGreen(PaletteEntry& e) {
    e.red = Drop(e.red, 4);
    e.green = Rise(e.green, 6);
    e.blue = Drop(e.blue, 4);
}

void Columns(int32_t i, int32_t w, int32_t h, uint8_t* pixels, int32_t pitch) {
    DrawVerticalLine(0, h - 1, w - 1 - i, 0, pixels, pitch);
    DrawVerticalLine(0, h - 1, i, 0, pixels, pitch);
    DrawVerticalLine(0, h - 1, w - 2 - i, 0, pixels, pitch);
    DrawVerticalLine(0, h - 1, i + 1, 0, pixels, pitch);
}

void Rows(int32_t i, int32_t w, int32_t h, uint8_t* pixels, int32_t pitch) {
    DrawHorizontalLine(0, w - 1, h - 1 - i, 0, pixels, pitch);
    DrawHorizontalLine(0, w - 1, i, 0, pixels, pitch);
    DrawHorizontalLine(0, w - 1, h - 2 - i, 0, pixels, pitch);
    DrawHorizontalLine(0, w - 1, i + 1, 0, pixels, pitch);
}

}  // namespace

void ScreenTransition(int32_t effect, uint8_t* pixels, int32_t pitch) {
    const int32_t w = ScreenWidth;
    const int32_t h = ScreenHeight;
    switch (effect) {
        case FadeToBlack:
            // Entry 0 stays: it is the colour the cleared screen will show.
            for (int32_t step = 0; step < 80; ++step) PaletteStep(StepToBlack, 1);
            return;
        case FadeToWhite:
            for (int32_t step = 0; step < 64; ++step) PaletteStep(StepToWhite, 0);
            return;
        case FadeToBlue:
            for (int32_t step = 0; step < 64; ++step) PaletteStep(StepToBlue, 0);
            return;
        case FadeToRed:
            for (int32_t step = 0; step < 64; ++step) PaletteStep(StepToRed, 0);
            return;
        case FadeToGreen:
            for (int32_t step = 0; step < 64; ++step) PaletteStep(StepToGreen, 0);
            return;
        default:
            break;
    }

    // The wipes draw; without a pixel block (or a screen size) there is
    // nothing to wipe.
    if (pixels == nullptr || w <= 0 || h <= 0) return;
    switch (effect) {
        case ColumnWipe:
            for (int32_t i = 0; i < w / 2; i += 2) {
                WaitStep();
                Columns(i, w, h, pixels, pitch);
            }
            return;
        case RowWipe:
            for (int32_t i = 0; i < h / 2; i += 2) {
                WaitStep();
                Rows(i, w, h, pixels, pitch);
            }
            return;
        case PixelDissolve:
            for (int32_t n = 0; n < 4 * w * h + 1; ++n) {
                const int32_t r1 = NextRandom();
                const int32_t r2 = NextRandom();
                PlotPixel(r2 % w, r1 % h, 0, pixels, pitch);
            }
            return;
        case BoxWipe:
            for (int32_t i = 0; i < w / 2; i += 2) {
                WaitStep();
                const int32_t k = i % (h / 2 > 0 ? h / 2 : 1);
                Rows(k, w, h, pixels, pitch);
                Columns(i, w, h, pixels, pitch);
            }
            return;
        default:
            return;  // no such effect
    }
}

int32_t FadeOutAndClear() {
    GetPalette(SavedPalette);
    UnlockPrimary();
    ScreenTransition(FadeToBlack, nullptr, 0);
    FillSurface(PrimarySurface, 0);
    FillSurface(BackSurface, 0);
    SetPalette(SavedPalette);
    return 1;
}
