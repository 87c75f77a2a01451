#include "graphics/display.h"

#include <cstdio>
#include <cstring>
#include <string>

platform::Surface* PrimarySurface = nullptr;
platform::Surface* BackSurface = nullptr;
Clipper* DisplayClipper = nullptr;
int32_t ScreenWidth = 640;
int32_t ScreenHeight = 480;
Palette CurrentPalette;
uint8_t* PrimaryPixels = nullptr;
int32_t PrimaryPitch = 0;
uint8_t* BackPixels = nullptr;
int32_t BackPitch = 0;

namespace {

// Clip lists live in a few fixed records: the game attaches one, and they all
// go with the display.
constexpr int32_t MaxClippers = 8;
Clipper Clippers[MaxClippers];

// A flip the platform keeps refusing (something else holds a lock) must not
// hang the game: give up after this many tries.
constexpr int32_t MaxFlipTries = 1000;

void BuildStartPalette() {
    for (int32_t n = 0; n < 256; ++n) {
        PaletteEntry& e = CurrentPalette.entries[n];
        const uint8_t step = static_cast<uint8_t>(4 * (n % 64));
        e.red = (n < 64 || n >= 192) ? step : 0;
        e.green = (n >= 64 && n < 128) || n >= 192 ? step : 0;
        e.blue = n >= 128 ? step : 0;
        e.flags = PALETTE_FLAGS;
    }
}

// The pixel address is non-null exactly while the lock is held; a second
// lock hands back the same address.
uint8_t* Lock(platform::Surface* surface, uint8_t*& pixels, int32_t& pitch) {
    if (pixels != nullptr) return pixels;
    uint8_t* address = nullptr;
    int32_t rowPitch = 0;
    if (!platform::LockSurface(surface, &address, &rowPitch) || address == nullptr) {
        pitch = 0;
        return nullptr;
    }
    pixels = address;
    pitch = rowPitch;
    return pixels;
}

int32_t Unlock(platform::Surface* surface, uint8_t*& pixels, int32_t& pitch) {
    if (pixels == nullptr) return 0;
    platform::UnlockSurface(surface);
    pixels = nullptr;
    pitch = 0;
    return 1;
}

}  // namespace

int32_t StartDisplay(int32_t width, int32_t height, int32_t bits) {
    // A second start replaces the first display instead of leaking it.
    if (PrimarySurface != nullptr) StopDisplay();

    if (bits != 8) {
        std::fprintf(stderr,
                     "volleen: cannot open the display: %d bits per pixel asked, only 8 offered\n",
                     static_cast<int>(bits));
        return 0;
    }
    platform::Surface* primary = nullptr;
    platform::Surface* back = nullptr;
    std::string why = "no reason given";
    if (!platform::OpenDisplay(width, height, &primary, &back, &why)) {
        std::fprintf(stderr, "volleen: cannot open the display: %s\n", why.c_str());
        return 0;
    }
    ScreenWidth = width;
    ScreenHeight = height;
    PrimarySurface = primary;
    BackSurface = back;

    BuildStartPalette();
    platform::SetPalette(reinterpret_cast<const uint8_t*>(&CurrentPalette));

    FillSurface(PrimarySurface, 0);
    FillSurface(BackSurface, 0);
    return 1;
}

int32_t StopDisplay() {
    // The clip lists go with the surfaces they belong to.
    for (Clipper& clipper : Clippers) clipper = Clipper{};
    // Locks die with the surfaces.
    PrimaryPixels = nullptr;
    PrimaryPitch = 0;
    BackPixels = nullptr;
    BackPitch = 0;
    if (PrimarySurface != nullptr || BackSurface != nullptr) platform::CloseDisplay();
    // The surfaces are gone; clearing the handles keeps a late call from
    // drawing into freed memory.
    PrimarySurface = nullptr;
    BackSurface = nullptr;
    DisplayClipper = nullptr;
    return 1;
}

Clipper* AttachClipper(platform::Surface* surface, int32_t count, const platform::Rect* rects) {
    if (surface == nullptr || count < 0 || (count > 0 && rects == nullptr)) return nullptr;
    Clipper* clipper = nullptr;
    for (Clipper& candidate : Clippers) {
        if (!candidate.inUse) {
            clipper = &candidate;
            break;
        }
    }
    if (clipper == nullptr) return nullptr;

    if (!platform::SetClipList(surface, rects, count)) return nullptr;

    clipper->surface = surface;
    clipper->inUse = 1;
    return clipper;
}

int32_t FlipDisplay() {
    if (PrimaryPixels != nullptr || BackPixels != nullptr) return 0;
    if (PrimarySurface == nullptr) return 0;
    for (int32_t tries = 0; tries < MaxFlipTries; ++tries) {
        if (platform::Flip()) return 1;
        platform::IdleStep();
    }
    return 0;
}

int32_t FillSurface(platform::Surface* surface, int32_t colour) {
    if (surface != nullptr) platform::FillSurface(surface, static_cast<uint8_t>(colour & 0xFF));
    return 1;
}

uint8_t* LockPrimary() { return Lock(PrimarySurface, PrimaryPixels, PrimaryPitch); }
int32_t UnlockPrimary() { return Unlock(PrimarySurface, PrimaryPixels, PrimaryPitch); }
uint8_t* LockBackBuffer() { return Lock(BackSurface, BackPixels, BackPitch); }
int32_t UnlockBackBuffer() { return Unlock(BackSurface, BackPixels, BackPitch); }

int32_t GetPalette(Palette& destination) {
    std::memmove(&destination, &CurrentPalette, sizeof(Palette));
    return 1;
}

int32_t SetPalette(const Palette& source) {
    // memmove: the source may be CurrentPalette itself.
    std::memmove(&CurrentPalette, &source, sizeof(Palette));
    platform::SetPalette(reinterpret_cast<const uint8_t*>(&CurrentPalette));
    return 1;
}
