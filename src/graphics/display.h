// The display: the visible surface, its back buffer, the palette and locks.
#pragma once

#include <cstdint>

#include "graphics/palette.h"
#include "platform/platform.h"

struct Clipper;  // a clip list attached to a surface

extern platform::Surface* PrimarySurface;
extern platform::Surface* BackSurface;
extern Clipper* DisplayClipper;
extern int32_t ScreenWidth;
extern int32_t ScreenHeight;
extern Palette CurrentPalette;
extern uint8_t* PrimaryPixels;  // non-null exactly while PrimarySurface is locked
extern int32_t PrimaryPitch;
extern uint8_t* BackPixels;     // non-null exactly while BackSurface is locked
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
