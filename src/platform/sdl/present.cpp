// Showing the 8-bit visible surface in the window, through the palette, in
// the largest 4:3 rectangle the window holds.
//
// Where a graphics card draws, SDL's renderer does it: the picture goes into a
// texture, is enlarged by a whole multiple with sharp pixels, then smoothly to
// the window. Where the processor would draw (no card, or Mesa's llvmpipe as
// under Xvfb) that costs several passes over the window, so the renderer is
// left out: the picture is scaled through the palette straight into the
// window's own pixels in one pass and handed to the display as it is.
#include <SDL.h>

#include <algorithm>
#include <filesystem>

#include "platform/common/message_queue.h"
#include "platform/common/show.h"
#include "platform/common/surface.h"
#include "platform/platform.h"
#include "platform/sdl/frame_stats.h"
#include "platform/sdl/picture_scale.h"
#include "platform/sdl/state.h"

namespace platform::sdl {
namespace {

// Whether a graphics device may be there to draw for us: a render node, or
// the proprietary driver's device. Asking SDL for an accelerated renderer to
// find out would make the window again for OpenGL and start Mesa, which costs
// a good part of a second and tens of megabytes where there is no card.
bool GraphicsDeviceLikely() {
    const char* asked = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (asked != nullptr && asked[0] != '\0') return SDL_strcasecmp(asked, "software") != 0;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ignored)) {
        if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
    }
    return std::filesystem::exists("/dev/nvidiactl", ignored);
}

// An OpenGL renderer drawn by the processor (Mesa's llvmpipe) counts as no
// accelerated renderer at all.
bool DrawnByProcessor(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || SDL_strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    using GetString = const unsigned char* (*)(unsigned int);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (getString == nullptr) return false;
    constexpr unsigned int GlRenderer = 0x1F01;
    const auto* name = reinterpret_cast<const char*>(getString(GlRenderer));
    return name != nullptr &&
           (SDL_strstr(name, "llvmpipe") != nullptr || SDL_strstr(name, "softpipe") != nullptr ||
            SDL_strstr(name, "Software Rasterizer") != nullptr);
}

// The largest rectangle of the picture's shape in the window, centred.
SDL_Rect Letterbox(int outWidth, int outHeight, int width, int height) {
    SDL_Rect target{0, 0, outWidth, outHeight};
    if (static_cast<int64_t>(outWidth) * height > static_cast<int64_t>(outHeight) * width) {
        target.w = static_cast<int>(static_cast<int64_t>(outHeight) * width / height);
    } else {
        target.h = static_cast<int>(static_cast<int64_t>(outWidth) * height / width);
    }
    target.x = (outWidth - target.w) / 2;
    target.y = (outHeight - target.h) / 2;
    return target;
}

// The palette in the pixel format of the window (or, with no format, of the
// renderer's texture).
void Colours(const SDL_PixelFormat* format, uint32_t colours[256]) {
    for (int i = 0; i < 256; ++i) {
        const uint8_t* entry = display::Palette + 4 * i;
        colours[i] = format != nullptr ? SDL_MapRGB(format, entry[0], entry[1], entry[2])
                                       : 0xFF000000u | (uint32_t{entry[0]} << 16) |
                                             (uint32_t{entry[1]} << 8) | uint32_t{entry[2]};
    }
}

PixelBlock Block(const Surface& surface) {
    return {const_cast<uint8_t*>(surface.pixels.data()), surface.width, surface.height,
            surface.pitch};
}

// --- the renderer, where a graphics card draws ------------------------------

void DestroyTextures() {
    if (state.scaled != nullptr) SDL_DestroyTexture(state.scaled);
    if (state.screen != nullptr) SDL_DestroyTexture(state.screen);
    state.scaled = nullptr;
    state.screen = nullptr;
    state.scaledFactor = 0;
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

void PresentThroughRenderer(const Surface* primary) {
    SDL_SetRenderTarget(state.renderer, nullptr);
    SDL_SetRenderDrawColor(state.renderer, 0, 0, 0, 255);
    if (primary == nullptr || state.screen == nullptr) {
        SDL_RenderClear(state.renderer);
        SDL_RenderPresent(state.renderer);
        return;
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(state.screen, nullptr, &pixels, &pitch) == 0) {
        uint32_t colours[256];
        Colours(nullptr, colours);
        const PixelBlock to{static_cast<uint8_t*>(pixels), primary->width, primary->height, pitch};
        ScaleThroughPalette(Block(*primary), colours, to);
        SDL_UnlockTexture(state.screen);
    }
    int outWidth = 0;
    int outHeight = 0;
    SDL_GetRendererOutputSize(state.renderer, &outWidth, &outHeight);
    // Enlarged first (that draws into a texture of its own), then the window
    // is cleared for the letterbox bars and the picture goes on.
    SDL_Texture* picture = SharpPicture(primary->width, primary->height, outWidth, outHeight);
    SDL_RenderClear(state.renderer);
    const SDL_Rect target = Letterbox(outWidth, outHeight, primary->width, primary->height);
    SDL_RenderCopy(state.renderer, picture, nullptr, &target);
    SDL_RenderPresent(state.renderer);
}

// --- the window's own pixels, where the processor draws ---------------------

void PresentIntoWindow(const Surface* primary) {
    SDL_Surface* window = SDL_GetWindowSurface(state.window);
    if (window == nullptr) return;
    // The bars are cleared only when the window is new, resized or uncovered:
    // otherwise they are still black, and only the picture is handed over.
    const bool whole = state.needsPresent || window != state.shownOn ||
                       window->w != state.shownWidth || window->h != state.shownHeight;
    if (SDL_MUSTLOCK(window) && SDL_LockSurface(window) != 0) return;
    if (whole) SDL_FillRect(window, nullptr, SDL_MapRGB(window->format, 0, 0, 0));
    SDL_Rect target{0, 0, window->w, window->h};
    if (primary != nullptr) {
        target = Letterbox(window->w, window->h, primary->width, primary->height);
        uint32_t colours[256];
        Colours(window->format, colours);
        const PixelBlock to{static_cast<uint8_t*>(window->pixels) +
                                static_cast<size_t>(target.y) * window->pitch +
                                static_cast<size_t>(target.x) * 4,
                            target.w, target.h, window->pitch};
        ScaleThroughPalette(Block(*primary), colours, to);
    }
    if (SDL_MUSTLOCK(window)) SDL_UnlockSurface(window);
    if (whole) {
        SDL_UpdateWindowSurface(state.window);
    } else {
        SDL_UpdateWindowSurfaceRects(state.window, &target, 1);
    }
    state.shownOn = window;
    state.shownWidth = window->w;
    state.shownHeight = window->h;
}

}  // namespace

Uint32 PresentWindowFlags() { return GraphicsDeviceLikely() ? SDL_WINDOW_OPENGL : 0; }

bool OpenPresenter() {
    if ((SDL_GetWindowFlags(state.window) & SDL_WINDOW_OPENGL) != 0) {
        // No vsync: game timing must never wait on the screen.
        state.renderer = SDL_CreateRenderer(state.window, -1,
                                            SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
        if (state.renderer != nullptr && DrawnByProcessor(state.renderer)) {
            SDL_DestroyRenderer(state.renderer);
            state.renderer = nullptr;
        }
    }
    if (state.renderer == nullptr) {
        // SDL would otherwise back the window's pixels with an OpenGL texture,
        // drawn by the processor all the same.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_Surface* window = SDL_GetWindowSurface(state.window);
        if (window == nullptr) return false;
        if (window->format->BytesPerPixel != 4) {
            // A display of fewer colours: SDL's own software renderer converts.
            state.renderer = SDL_CreateRenderer(state.window, -1, SDL_RENDERER_SOFTWARE);
            if (state.renderer == nullptr) return false;
        }
    }
    return true;
}

void ClosePresenter() {
    DestroyTextures();
    if (state.renderer != nullptr) SDL_DestroyRenderer(state.renderer);
    state.renderer = nullptr;
}

bool OpenPresenterPicture(int width, int height) {
    if (state.renderer == nullptr) return true;
    state.screen = SDL_CreateTexture(state.renderer, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_STREAMING, width, height);
    return state.screen != nullptr;
}

void ClosePresenterPicture() { DestroyTextures(); }

void Present() {
    // A window about to close shows nothing more: the rest of the way out
    // (cut pauses, a fade run at once) would only flicker.
    if (state.window == nullptr || queue::CloseRequested()) return;
    const uint64_t start = PreciseTime();
    const Surface* primary = state.displayOpen ? display::Primary : nullptr;
    if (state.renderer != nullptr) {
        PresentThroughRenderer(primary);
    } else {
        PresentIntoWindow(primary);
    }
    state.needsPresent = false;
    ++state.presents;
    frame_stats::NotePresent(PreciseTime() - start);
}

void NeedWholePresent() {
    state.needsPresent = true;
    show::Owe();
}

}  // namespace platform::sdl

namespace platform {

void PresentVisibleSurface() { sdl::Present(); }

}  // namespace platform
