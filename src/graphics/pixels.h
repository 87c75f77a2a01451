// Single pixels and clipped runs written straight into a locked pixel block.
#pragma once

#include <cstdint>

// The screen, inclusive: pixels and runs outside are cut off.
extern const int32_t ClipMinX;
extern const int32_t ClipMinY;
extern const int32_t ClipMaxX;
extern const int32_t ClipMaxY;

int32_t PlotPixel(int32_t x, int32_t y, int32_t colour, uint8_t* pixels, int32_t pitch);
void DrawHorizontalLine(int32_t x1, int32_t x2, int32_t y, int32_t colour, uint8_t* pixels,
                        int32_t pitch);
void DrawVerticalLine(int32_t y1, int32_t y2, int32_t x, int32_t colour, uint8_t* pixels,
                      int32_t pitch);
