// 8-bit software surfaces: creation, locks, fills, clip lists and keyed blits.
#include "platform/common/surface.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <unordered_set>

namespace platform {

namespace {

// Larger than any screen the game could ask for; keeps pitch * height small.
constexpr int32_t MaxSurfaceSide = 16384;

// Every surface that is alive, so that a second release of the same handle
// (or of one that Configure already closed) does no harm.
std::unordered_set<Surface*>& LiveSurfaces() {
    static std::unordered_set<Surface*> live;
    return live;
}

}  // namespace

Surface* CreateSurface(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > MaxSurfaceSide || height > MaxSurfaceSide) {
        return nullptr;
    }
    auto* surface = new (std::nothrow) Surface;
    if (surface == nullptr) return nullptr;
    surface->width = width;
    surface->height = height;
    surface->pitch = (width + 3) & ~3;
    try {
        surface->pixels.assign(static_cast<size_t>(surface->pitch) * height, 0);
        LiveSurfaces().insert(surface);
    } catch (const std::bad_alloc&) {
        delete surface;
        return nullptr;
    }
    return surface;
}

void ReleaseSurface(Surface* surface) {
    if (surface == nullptr) return;
    if (LiveSurfaces().erase(surface) == 0) return;
    delete surface;
}

int32_t SurfaceWidth(const Surface* surface) { return surface ? surface->width : 0; }
int32_t SurfaceHeight(const Surface* surface) { return surface ? surface->height : 0; }

bool LockSurface(Surface* surface, uint8_t** pixels, int32_t* pitch) {
    if (surface == nullptr || surface->locked) return false;
    surface->locked = true;
    if (pixels) *pixels = surface->pixels.data();
    if (pitch) *pitch = surface->pitch;
    // Whoever holds the lock may write any pixel.
    Touch(surface);
    return true;
}

bool UnlockSurface(Surface* surface) {
    if (surface == nullptr || !surface->locked) return false;
    surface->locked = false;
    Touch(surface);
    return true;
}

bool IsSurfaceLocked(const Surface* surface) { return surface != nullptr && surface->locked; }

bool FillSurface(Surface* surface, uint8_t colour) {
    if (surface == nullptr || surface->locked) return false;
    std::fill(surface->pixels.begin(), surface->pixels.end(), colour);
    Touch(surface);
    return true;
}

bool SetClipList(Surface* surface, const Rect* rects, int32_t count) {
    if (surface == nullptr || count < 0 || (count > 0 && rects == nullptr)) return false;
    surface->clipList.assign(rects, rects + count);
    return true;
}

namespace {

// Copies the part of the destination rectangle `target` that lies inside `cut`.
void BlitPart(Surface* destination, const Rect& target, const Rect& cut, const Surface* source) {
    const int32_t left = std::max(target.left, cut.left);
    const int32_t top = std::max(target.top, cut.top);
    const int32_t right = std::min(target.right, cut.right);
    const int32_t bottom = std::min(target.bottom, cut.bottom);
    if (left >= right || top >= bottom) return;
    for (int32_t row = top; row < bottom; ++row) {
        const uint8_t* from = source->pixels.data() +
                              static_cast<size_t>(row - target.top) * source->pitch +
                              (left - target.left);
        uint8_t* to =
            destination->pixels.data() + static_cast<size_t>(row) * destination->pitch + left;
        for (int32_t column = 0; column < right - left; ++column) {
            if (from[column] != 0) to[column] = from[column];
        }
    }
}

}  // namespace

bool BlitKeyed(Surface* destination, int32_t x, int32_t y, Surface* source, int32_t width,
               int32_t height) {
    if (destination == nullptr || source == nullptr) return false;
    if (destination->locked || source->locked) return false;
    if (width < 0 || height < 0 || width > source->width || height > source->height) return false;

    // 64-bit sums: a position near the integer limits must not wrap into view.
    const int64_t right = static_cast<int64_t>(x) + width;
    const int64_t bottom = static_cast<int64_t>(y) + height;
    const Rect edges{0, 0, destination->width, destination->height};
    const Rect target{x, y, static_cast<int32_t>(std::clamp<int64_t>(right, INT32_MIN, INT32_MAX)),
                      static_cast<int32_t>(std::clamp<int64_t>(bottom, INT32_MIN, INT32_MAX))};
    if (destination->clipList.empty()) {
        BlitPart(destination, target, edges, source);
    } else {
        for (const Rect& clip : destination->clipList) {
            // A clip rectangle reaching past the surface is still cut at its edges.
            const Rect cut{std::max(clip.left, 0), std::max(clip.top, 0),
                           std::min(clip.right, destination->width),
                           std::min(clip.bottom, destination->height)};
            BlitPart(destination, target, cut, source);
        }
    }
    Touch(destination);
    return true;
}

void SetWhy(std::string* why, const char* text) {
    if (why != nullptr) *why = text != nullptr ? text : "";
}

}  // namespace platform
