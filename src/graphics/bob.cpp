#include "graphics/bob.h"

#include <cstring>

int32_t CreateBob(Bob* bob, int32_t x, int32_t y, int32_t width, int32_t height, int32_t frameCount,
                  uint32_t attributes, uint32_t /*memory*/) {
    if (bob == nullptr) return 0;
    bob->attributes = attributes;
    bob->frameCount = frameCount;
    bob->x = x;
    bob->y = y;
    bob->width = width;
    bob->height = height;
    bob->state = BOB_STATE_ALIVE;
    bob->xVelocity = 0;
    bob->yVelocity = 0;
    bob->currentFrame = 0;
    for (platform::Surface*& frame : bob->frames) frame = nullptr;

    // Frame surfaces are a multiple of 8 pixels wide.
    bob->widthPad = width % 8 == 0 ? 0 : 8 - width % 8;

    // More frames than the record has slots would run past its end.
    if (frameCount < 0 || frameCount > MAX_BOB_FRAMES) {
        bob->frameCount = 0;
        return 0;
    }
    for (int32_t i = 0; i < frameCount; ++i) {
        // The platform's surfaces take index 0 as transparent in a keyed blit.
        bob->frames[i] = platform::CreateSurface(width + bob->widthPad, height);
        if (bob->frames[i] == nullptr) return 0;
    }
    return 1;
}

int32_t DestroyBob(Bob* bob) {
    if (bob == nullptr) return 0;
    for (platform::Surface*& frame : bob->frames) {
        if (frame != nullptr) platform::ReleaseSurface(frame);
        frame = nullptr;
    }
    return 1;
}

int32_t LoadBobFrame(Bob* bob, const BitmapFile* file, int32_t frame, int32_t cx, int32_t cy,
                     int32_t mode) {
    if (bob == nullptr) return 0;
    if (frame < 0 || frame >= bob->frameCount || frame >= MAX_BOB_FRAMES) return 0;
    platform::Surface* surface = bob->frames[frame];
    if (surface == nullptr) return 0;
    CellCut cut;
    if (!CutCell(file, bob->width, bob->height, cx, cy, mode, &cut)) return 0;

    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    if (!platform::LockSurface(surface, &pixels, &pitch) || pixels == nullptr) return 0;
    // Never past the frame surface, whatever the record says.
    const int32_t surfaceWidth = platform::SurfaceWidth(surface);
    const int32_t surfaceHeight = platform::SurfaceHeight(surface);
    int32_t columns = cut.columns;
    if (cut.column + columns > surfaceWidth) columns = surfaceWidth - cut.column;
    const int32_t fileWidth = file->infoHeader.biWidth;
    for (int32_t r = 0; r < cut.rows && cut.row + r < surfaceHeight && columns > 0; ++r) {
        const uint8_t* from =
            file->pixels + static_cast<int64_t>(cut.sourceRow + r) * fileWidth + cut.sourceColumn;
        uint8_t* to = pixels + static_cast<int64_t>(cut.row + r) * pitch + cut.column;
        std::memcpy(to, from, static_cast<size_t>(columns));
    }
    platform::UnlockSurface(surface);
    bob->attributes |= BOB_LOADED;
    return 1;
}

int32_t DrawBob(Bob* bob, platform::Surface* destination) {
    if (bob == nullptr) return 0;
    if ((bob->attributes & BOB_VISIBLE) == 0) return 1;
    if (bob->currentFrame < 0 || bob->currentFrame >= bob->frameCount ||
        bob->currentFrame >= MAX_BOB_FRAMES) {
        return 0;
    }
    platform::Surface* frame = bob->frames[bob->currentFrame];
    if (frame == nullptr) return 0;
    return platform::BlitKeyed(destination, bob->x, bob->y, frame, bob->width, bob->height) ? 1 : 0;
}

int32_t SetBobPosition(Bob* bob, int32_t x, int32_t y) {
    if (bob == nullptr) return 0;
    bob->x = x;
    bob->y = y;
    return 1;
}

int32_t SetBobVelocity(Bob* bob, int32_t xVelocity, int32_t yVelocity) {
    if (bob == nullptr) return 0;
    bob->xVelocity = xVelocity;
    bob->yVelocity = yVelocity;
    return 1;
}

int32_t HideBob(Bob* bob) {
    if (bob == nullptr) return 0;
    bob->attributes &= ~BOB_VISIBLE;
    return 1;
}

int32_t ShowBob(Bob* bob) {
    if (bob == nullptr) return 0;
    bob->attributes |= BOB_VISIBLE;
    return 1;
}
