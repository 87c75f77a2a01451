// Text through SDL2_ttf: solid glyphs, rendered once per distinct text and
// kept as a mask, then stamped onto surfaces in the caller's palette index.
#include "platform/common/text_raster.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/os.h"
#include "platform/common/text_strip.h"

namespace platform::text {

namespace {

constexpr int FontPixels = 13;
// Scores, words and key names are few; a bound keeps a stray caller that
// draws ever-new texts from growing the cache without end.
constexpr size_t MaxCachedStrips = 1024;

struct Raster {
    TTF_Font* font = nullptr;
    bool tried = false;  // a font that failed to open is not retried each draw
    std::unordered_map<std::string, Strip> cache;
};

Raster& State() {
    static Raster raster;
    return raster;
}

TTF_Font* Font() {
    Raster& raster = State();
    if (raster.font != nullptr || raster.tried) return raster.font;
    raster.tried = true;
    if (TTF_WasInit() == 0 && TTF_Init() != 0) return nullptr;
    // The system's copy of the font the build was made with, so every text
    // is drawn exactly as the build's own tests saw it. A build that ships
    // the font (Windows) names it relative to the program's own folder.
    std::filesystem::path file = VOLLEEN_FONT_FILE;
    if (file.is_relative()) file = std::filesystem::path(os::ProgramFile()).parent_path() / file;
    raster.font = TTF_OpenFont(file.string().c_str(), FontPixels);
    if (raster.font == nullptr) {
        std::fprintf(stderr, "volleen: no text: cannot open the font %s: %s\n",
                     file.string().c_str(), TTF_GetError());
    }
    return raster.font;
}

// The rendered mask of `text`, from the cache or rasterised now; null when
// the font is missing or the text renders to nothing.
const Strip* StripFor(const char* text) {
    Raster& raster = State();
    auto found = raster.cache.find(text);
    if (found != raster.cache.end()) return &found->second;

    TTF_Font* font = Font();
    if (font == nullptr) return nullptr;
    SDL_Color white{255, 255, 255, 255};
    // The game's texts are single bytes; Latin-1 keeps every byte a glyph.
    SDL_Surface* rendered = TTF_RenderText_Solid(font, text, white);
    if (rendered == nullptr) return nullptr;

    Strip strip;
    strip.width = rendered->w;
    strip.height = rendered->h;
    strip.mask.assign(static_cast<size_t>(strip.width) * strip.height, 0);
    SDL_LockSurface(rendered);
    // Solid rendering gives an 8-bit surface: index 0 background, others glyph.
    const auto* pixels = static_cast<const uint8_t*>(rendered->pixels);
    for (int32_t row = 0; row < strip.height; ++row) {
        for (int32_t column = 0; column < strip.width; ++column) {
            if (pixels[row * rendered->pitch + column] != 0) {
                strip.mask[static_cast<size_t>(row) * strip.width + column] = 1;
            }
        }
    }
    SDL_UnlockSurface(rendered);
    SDL_FreeSurface(rendered);

    if (raster.cache.size() >= MaxCachedStrips) raster.cache.clear();
    return &raster.cache.emplace(text, std::move(strip)).first->second;
}

}  // namespace

bool Draw(Surface* surface, int32_t x, int32_t y, const char* text, uint8_t index) {
    if (surface == nullptr || surface->locked) return false;
    if (text == nullptr || text[0] == '\0') return true;
    const Strip* strip = StripFor(text);
    if (strip == nullptr) return false;

    Stamp(surface, x, y, *strip, index);
    return true;
}

int32_t Width(const char* text) {
    if (text == nullptr || text[0] == '\0') return 0;
    const Strip* strip = StripFor(text);
    return strip ? strip->width : 0;
}

int32_t Height(const char* text) {
    if (text == nullptr || text[0] == '\0') return 0;
    const Strip* strip = StripFor(text);
    return strip ? strip->height : 0;
}

size_t CachedStrips() { return State().cache.size(); }

void Shutdown() {
    Raster& raster = State();
    raster.cache.clear();
    if (raster.font != nullptr) {
        TTF_CloseFont(raster.font);
        raster.font = nullptr;
    }
    if (TTF_WasInit() != 0) TTF_Quit();
    raster.tried = false;
}

}  // namespace platform::text
