// A picture being drawn: 8-bit palette indices, drawn in screen coordinates
// and stored with the offset at which the game cuts it from the file.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/palette.h"
#include "platform/common/surface.h"

namespace gen {

struct Canvas {
    platform::Surface surface;  // the whole file picture
    int originX = 0;            // file column of screen column 0
    int originY = 0;            // file row of screen row 0

    // A file picture of width x height; screen (x, y) lands on file pixel
    // (x + originX, y + originY).
    Canvas(int width, int height, int originX, int originY);

    bool Inside(int x, int y) const;
    void Put(int x, int y, uint8_t colour);
    uint8_t Get(int x, int y) const;
    void FillRect(int x0, int y0, int x1, int y1, uint8_t colour);  // inclusive
    // One line of the game's own text at screen (x, y).
    void Text(int x, int y, const char* text, uint8_t colour);
    // Text with a one-pixel drop shadow to the lower right.
    void ShadowText(int x, int y, const char* text, uint8_t colour, uint8_t shadow);
    // The file row-major, top first (the file's full width).
    const uint8_t* Pixels() const { return surface.pixels.data(); }
    int Width() const { return surface.width; }
    int Height() const { return surface.height; }
};

// Pixel width of a text in the game's font.
int TextWidth(const char* text);

// Writes the canvas as an 8-bit bitmap file; false on failure.
bool SaveCanvas(const Canvas& canvas, const std::string& path, const Palette& palette);

// Writes the canvas as an 8-bit PNG file, index 0 transparent; false on failure.
bool SavePng(const Canvas& canvas, const std::string& path, const Palette& palette);

// The game's icon, `size` pixels square.
Canvas DrawIcon(int size);

// A small deterministic hash of pixel coordinates and a seed, 0..1.
double Hash01(int x, int y, uint32_t seed);

}  // namespace gen
