// The display: the visible surface, its back buffer, the palette and locks.
#pragma once

#include <cstdint>

#include "graphics/palette.h"
#include "platform/platform.h"

// A clip list attached to a surface.
struct Clipper {
    platform::Surface* surface;
    int32_t inUse;
};

extern platform::Surface* PrimarySurface;  // the visible screen; still screens draw here
extern platform::Surface* BackSurface;     // a match frame is composed here, then flipped
extern Clipper* DisplayClipper;            // the back buffer's clip list
extern int32_t ScreenWidth;                // 640 once the display is open
extern int32_t ScreenHeight;               // 480
extern Palette CurrentPalette;             // the colours last set on the display
extern uint8_t* PrimaryPixels;             // non-null exactly while PrimarySurface is locked
extern int32_t PrimaryPitch;
extern uint8_t* BackPixels;  // non-null exactly while BackSurface is locked
extern int32_t BackPitch;

int32_t StartDisplay(int32_t width, int32_t height, int32_t bits);
int32_t StopDisplay();
Clipper* AttachClipper(platform::Surface* surface, int32_t count, const platform::Rect* rects);
int32_t FlipDisplay();
int32_t FillSurface(platform::Surface* surface, int32_t colour);
uint8_t* LockPrimary();
int32_t UnlockPrimary();
uint8_t* LockBackBuffer();
int32_t UnlockBackBuffer();
int32_t GetPalette(Palette& destination);
int32_t SetPalette(const Palette& source);
