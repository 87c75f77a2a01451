// Blitter objects (sprites): the paddles and the balls.
#pragma once

#include <cstdint>

#include "graphics/bitmap_file.h"
#include "platform/platform.h"

constexpr uint32_t BOB_VISIBLE = 0x10;
// Bob::state and BitmapImage::state. A ball is alive while in play.
constexpr int32_t BOB_STATE_DEAD = 0;
constexpr int32_t BOB_STATE_ALIVE = 1;
constexpr uint32_t BOB_LOADED = 0x80;
constexpr int32_t MAX_BOB_FRAMES = 64;

struct Bob {
    int32_t state;
    uint32_t attributes;
    int32_t x;
    int32_t y;
    int32_t xVelocity;
    int32_t yVelocity;
    int32_t width;
    int32_t height;
    int32_t widthPad;
    int32_t currentFrame;
    int32_t frameCount;
    platform::Surface* frames[MAX_BOB_FRAMES];
};

int32_t CreateBob(Bob* bob, int32_t x, int32_t y, int32_t width, int32_t height, int32_t frameCount,
                  uint32_t attributes, uint32_t memory);
int32_t DestroyBob(Bob* bob);
int32_t LoadBobFrame(Bob* bob, const BitmapFile* file, int32_t frame, int32_t cx, int32_t cy,
                     int32_t mode);
int32_t DrawBob(Bob* bob, platform::Surface* destination);
int32_t SetBobPosition(Bob* bob, int32_t x, int32_t y);
int32_t SetBobVelocity(Bob* bob, int32_t xVelocity, int32_t yVelocity);
int32_t HideBob(Bob* bob);
int32_t ShowBob(Bob* bob);
