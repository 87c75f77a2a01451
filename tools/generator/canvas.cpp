#include "canvas.h"

#include "graphics/bitmap_file.h"
#include "platform/common/text_raster.h"

namespace gen {

Canvas::Canvas(int width, int height, int ox, int oy) : originX(ox), originY(oy) {
    surface.width = width;
    surface.height = height;
    surface.pitch = (width + 3) & ~3;
    surface.pixels.assign(static_cast<size_t>(surface.pitch) * height, 0);
}

bool Canvas::Inside(int x, int y) const {
    int fx = x + originX;
    int fy = y + originY;
    return fx >= 0 && fy >= 0 && fx < surface.width && fy < surface.height;
}

void Canvas::Put(int x, int y, uint8_t colour) {
    if (!Inside(x, y)) return;
    surface.pixels[static_cast<size_t>(y + originY) * surface.pitch + (x + originX)] = colour;
}

uint8_t Canvas::Get(int x, int y) const {
    if (!Inside(x, y)) return 0;
    return surface.pixels[static_cast<size_t>(y + originY) * surface.pitch + (x + originX)];
}

void Canvas::FillRect(int x0, int y0, int x1, int y1, uint8_t colour) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) Put(x, y, colour);
}

void Canvas::Text(int x, int y, const char* text, uint8_t colour) {
    platform::text::Draw(&surface, x + originX, y + originY, text, colour);
}

void Canvas::ShadowText(int x, int y, const char* text, uint8_t colour, uint8_t shadow) {
    Text(x + 1, y + 1, text, shadow);
    Text(x, y, text, colour);
}

int TextWidth(const char* text) { return platform::text::Width(text); }

bool SaveCanvas(const Canvas& canvas, const std::string& path, const Palette& palette) {
    return SaveBitmapFile(path.c_str(), canvas.Pixels(), canvas.Width(), canvas.Height(),
                          canvas.surface.pitch, palette) == 1;
}

double Hash01(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / static_cast<double>(0x1000000);
}

}  // namespace gen
