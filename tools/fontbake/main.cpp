// volleen-fontbake: bakes the glyphs the game can draw (printable ASCII) into
// a C++ source for the browser build, which has no font rasteriser of its
// own. Everything comes from the native rasteriser: each glyph's pixels
// (drawn alone), its box and its advance.
// Usage: volleen-fontbake OUTPUT.cpp
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/common/surface.h"
#include "platform/common/text_raster.h"
#include "platform/web/baked_font.h"

namespace {

using platform::baked::CharCount;
using platform::baked::FirstChar;

constexpr int FontPixels = 13;
constexpr int Canvas = 64;  // room for any one glyph drawn at (Origin, 0)
constexpr int Origin = 16;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: volleen-fontbake OUTPUT.cpp\n");
        return 2;
    }
    if (TTF_Init() != 0) return 1;
    // The file the native rasteriser draws with (platform_text names it).
    TTF_Font* font = TTF_OpenFont(VOLLEEN_FONT_FILE, FontPixels);
    if (font == nullptr) {
        std::fprintf(stderr, "volleen-fontbake: %s\n", TTF_GetError());
        return 1;
    }

    std::string glyphRows;
    std::string bits;
    for (int c = FirstChar; c < FirstChar + CharCount; ++c) {
        int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
        TTF_GlyphMetrics32(font, static_cast<Uint32>(c), &minX, &maxX, &minY, &maxY, &advance);
        // Drawn alone, the glyph's bitmap starts at the pen plus its left
        // bearing, and the line is shifted right when that is negative.
        const int penColumn = Origin + (minX < 0 ? -minX : 0);

        const char text[2] = {static_cast<char>(c), '\0'};
        platform::Surface* surface = platform::CreateSurface(Canvas, Canvas);
        platform::text::Draw(surface, Origin, 0, text, 1);
        int left = Canvas, top = Canvas, right = -1, bottom = -1;
        for (int y = 0; y < Canvas; ++y) {
            for (int x = 0; x < Canvas; ++x) {
                if (surface->pixels[static_cast<size_t>(y) * surface->pitch + x] == 0) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        const int width = right < 0 ? 0 : right - left + 1;
        const int height = right < 0 ? 0 : bottom - top + 1;
        const size_t firstBit = bits.size();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                bits += surface->pixels[static_cast<size_t>(top + y) * surface->pitch + left + x]
                            ? '1'
                            : '0';
            }
        }
        platform::ReleaseSurface(surface);

        char row[160];
        std::snprintf(row, sizeof row, "    {%d, %d, %d, %d, %d, %d, %zu},  // %s\n", minX,
                      right < 0 ? 0 : left - penColumn, right < 0 ? 0 : top, width, height, advance,
                      firstBit, c == '\\' ? "backslash" : text);
        glyphRows += row;
    }

    std::string packed;
    for (size_t i = 0; i < bits.size(); i += 8) {
        unsigned byte = 0;
        for (size_t j = 0; j < 8 && i + j < bits.size(); ++j) {
            if (bits[i + j] == '1') byte |= 0x80u >> j;
        }
        char hex[16];
        std::snprintf(hex, sizeof hex, "%s0x%02x,", (i / 8) % 16 == 0 ? "\n    " : " ", byte);
        packed += hex;
    }

    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out,
                 "// Written by volleen-fontbake from DejaVu Sans Bold at %d px; do not edit.\n"
                 "#include \"platform/web/baked_font.h\"\n\n"
                 "namespace platform::baked {\n\n"
                 "const Glyph Glyphs[CharCount] = {\n%s};\n\n"
                 "const uint8_t GlyphBits[] = {%s\n};\n\n"
                 "}  // namespace platform::baked\n",
                 FontPixels, glyphRows.c_str(), packed.c_str());
    std::fclose(out);

    TTF_CloseFont(font);
    platform::text::Shutdown();
    TTF_Quit();
    return 0;
}
