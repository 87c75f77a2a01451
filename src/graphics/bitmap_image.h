// Full-screen images: the courts, the title, the logos and the credits.
#pragma once

#include <cstdint>

#include "graphics/bitmap_file.h"
#include "graphics/bob.h"  // an image's state takes the BOB_STATE_ values

constexpr uint32_t IMAGE_LOADED = 0x80;

struct BitmapImage {
    int32_t state;
    uint32_t attributes;
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    int32_t byteCount;
    uint8_t* pixels;
};

int32_t CreateBitmapImage(BitmapImage* image, int32_t x, int32_t y, int32_t width, int32_t height);
int32_t DestroyBitmapImage(BitmapImage* image);
int32_t LoadBitmapImage(BitmapImage* image, const BitmapFile* file, int32_t cx, int32_t cy,
                        int32_t mode);
// Draws into a locked display surface (ScreenWidth x ScreenHeight, `pitch`).
int32_t DrawBitmapImage(BitmapImage* image, uint8_t* destination, int32_t pitch,
                        int32_t transparent);
