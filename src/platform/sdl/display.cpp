// Presenting the 8-bit visible surface in the window: through the palette
// into true colour, enlarged by a whole multiple with sharp pixels, then
// smoothly to the largest 4:3 rectangle the window holds.
#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/common/surface.h"
#include "platform/common/text_raster.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"

namespace platform {
namespace sdl {
namespace {

void DestroyTextures() {
    if (state.scaled != nullptr) SDL_DestroyTexture(state.scaled);
    if (state.screen != nullptr) SDL_DestroyTexture(state.screen);
    state.scaled = nullptr;
    state.screen = nullptr;
    state.scaledFactor = 0;
}

void ConvertPrimary(const Surface& primary) {
    uint32_t colours[256];
    for (int i = 0; i < 256; ++i) {
        const uint8_t* entry = display::Palette + 4 * i;
        colours[i] = 0xFF000000u | (uint32_t{entry[0]} << 16) | (uint32_t{entry[1]} << 8) |
                     uint32_t{entry[2]};
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(state.screen, nullptr, &pixels, &pitch) != 0) return;
    for (int32_t y = 0; y < primary.height; ++y) {
        const uint8_t* from = primary.pixels.data() + static_cast<size_t>(y) * primary.pitch;
        auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) +
                                               static_cast<size_t>(y) * pitch);
        for (int32_t x = 0; x < primary.width; ++x) to[x] = colours[from[x]];
    }
    SDL_UnlockTexture(state.screen);
}

// The texture to stretch onto the window: the picture enlarged by the largest
// whole multiple that fits, so that its pixels stay square and sharp.
SDL_Texture* SharpPicture(int width, int height, int outWidth, int outHeight) {
    const int factor = std::max(1, std::min(outWidth / width, outHeight / height));
    if (factor == 1 || !SDL_RenderTargetSupported(state.renderer)) {
        SDL_SetTextureScaleMode(state.screen, SDL_ScaleModeLinear);
        return state.screen;
    }
    if (state.scaled == nullptr || state.scaledFactor != factor) {
        if (state.scaled != nullptr) SDL_DestroyTexture(state.scaled);
        state.scaled = SDL_CreateTexture(state.renderer, SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_TARGET, width * factor, height * factor);
        state.scaledFactor = factor;
        if (state.scaled == nullptr) {
            state.scaledFactor = 0;
            SDL_SetTextureScaleMode(state.screen, SDL_ScaleModeLinear);
            return state.screen;
        }
        SDL_SetTextureScaleMode(state.scaled, SDL_ScaleModeLinear);
    }
    SDL_SetTextureScaleMode(state.screen, SDL_ScaleModeNearest);
    SDL_SetRenderTarget(state.renderer, state.scaled);
    SDL_RenderCopy(state.renderer, state.screen, nullptr, nullptr);
    SDL_SetRenderTarget(state.renderer, nullptr);
    return state.scaled;
}

}  // namespace

void Present() {
    // A window about to close shows nothing more: the rest of the way out
    // (cut pauses, a fade run at once) would only flicker.
    if (state.renderer == nullptr || state.closeRequested) return;
    SDL_SetRenderTarget(state.renderer, nullptr);
    SDL_SetRenderDrawColor(state.renderer, 0, 0, 0, 255);
    const Surface* primary = display::Primary;
    if (!state.displayOpen || state.screen == nullptr || primary == nullptr) {
        SDL_RenderClear(state.renderer);
    } else {
        ConvertPrimary(*primary);
        int outWidth = 0;
        int outHeight = 0;
        SDL_GetRendererOutputSize(state.renderer, &outWidth, &outHeight);
        // Enlarged first (that draws into a texture of its own), then the
        // window is cleared for the letterbox bars and the picture goes on.
        SDL_Texture* picture = SharpPicture(primary->width, primary->height, outWidth, outHeight);
        SDL_RenderClear(state.renderer);
        // Letterbox: the largest rectangle of the picture's shape, centred.
        SDL_Rect target{0, 0, outWidth, outHeight};
        if (static_cast<int64_t>(outWidth) * primary->height >
            static_cast<int64_t>(outHeight) * primary->width) {
            target.w = static_cast<int>(static_cast<int64_t>(outHeight) * primary->width /
                                        primary->height);
        } else {
            target.h =
                static_cast<int>(static_cast<int64_t>(outWidth) * primary->height / primary->width);
        }
        target.x = (outWidth - target.w) / 2;
        target.y = (outHeight - target.h) / 2;
        SDL_RenderCopy(state.renderer, picture, nullptr, &target);
        state.presentedGeneration = primary->generation;
        state.presentedOnce = true;
    }
    SDL_RenderPresent(state.renderer);
    state.needsPresent = false;
}

void PresentIfChanged() {
    if (state.renderer == nullptr) return;
    const Surface* primary = display::Primary;
    const bool changed = state.displayOpen && primary != nullptr &&
                         (!state.presentedOnce || primary->generation != state.presentedGeneration);
    if (changed || state.needsPresent) Present();
}

}  // namespace sdl

using sdl::state;

bool OpenDisplay(int32_t width, int32_t height, Surface** primary, Surface** back, char* why,
                 int whySize) {
    if (state.renderer == nullptr) {
        SetWhy(why, whySize, "the game window is not open");
        return false;
    }
    if (!display::Open(width, height, why, whySize)) return false;
    state.screen = SDL_CreateTexture(state.renderer, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_STREAMING, width, height);
    if (state.screen == nullptr) {
        SetWhy(why, whySize, SDL_GetError());
        display::Close();
        return false;
    }
    *primary = display::Primary;
    *back = display::Back;
    state.displayOpen = true;
    state.presentedOnce = false;
    sdl::Present();
    return true;
}

void CloseDisplay() {
    if (!state.displayOpen) return;
    state.displayOpen = false;
    sdl::DestroyTextures();
    display::Close();
    sdl::Present();
}

bool Flip() {
    if (!display::Exchange()) return false;
    sdl::Present();
    return true;
}

void SetPalette(const uint8_t entries[1024]) {
    std::memcpy(display::Palette, entries, 1024);
    // Fades change only the palette, so the screen must take it now.
    sdl::Present();
}

bool DrawText(Surface* surface, int32_t x, int32_t y, const char* text, uint8_t index) {
    return text::Draw(surface, x, y, text, index);
}

}  // namespace platform
