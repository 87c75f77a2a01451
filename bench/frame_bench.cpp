// What one frame of play costs: the text it draws, the whole composed frame,
// and the fade step. Run: build/bench_frame
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/layout.h"
#include "frontend/assets.h"
#include "graphics/blitter.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "match/match.h"
#include "match/match_display.h"
#include "platform/common/text_raster.h"
#include "platform/headless/headless.h"

namespace {

void StartHeadlessDisplay() {
    std::string error;
    if (!headless::Configure({}, &error)) std::fprintf(stderr, "%s\n", error.c_str());
    StartDisplay(640, 480, 8);
}

// A score line drawn again and again, as every frame does: after the first
// draw the strip comes from the cache.
void BM_ScoreTextCached(benchmark::State& state) {
    StartHeadlessDisplay();
    for (auto _ : state) {
        benchmark::DoNotOptimize(DrawTextRgb("Player 1 - 7", 20, 1, 0xFFFFFF, BackSurface));
    }
}
BENCHMARK(BM_ScoreTextCached);

// The same line with the cache emptied before each draw: the cost the cache
// saves (the font is opened again from memory as well).
void BM_ScoreTextRasterised(benchmark::State& state) {
    StartHeadlessDisplay();
    for (auto _ : state) {
        platform::text::Shutdown();
        benchmark::DoNotOptimize(DrawTextRgb("Player 1 - 7", 20, 1, 0xFFFFFF, BackSurface));
    }
}
BENCHMARK(BM_ScoreTextRasterised);

void MakeSprite(Bob* bob, int32_t width, int32_t height) {
    CreateBob(bob, 0, 0, width, height, 1, BOB_VISIBLE | 1, 0x800);
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    if (platform::LockSurface(bob->frames[0], &pixels, &pitch)) {
        for (int32_t r = 0; r < height; ++r) std::memset(pixels + r * pitch, 7, width);
        platform::UnlockSurface(bob->frames[0]);
    }
}

// A whole match frame: background copy, four sprites, two score lines, the
// serve prompt and the flip.
void BM_DrawMatchScreen(benchmark::State& state) {
    StartHeadlessDisplay();
    for (BitmapImage& background : Backgrounds) {
        CreateBitmapImage(&background, 0, 0, 639, 479);
        std::memset(background.pixels, 3, background.byteCount);
        background.attributes |= IMAGE_LOADED;
    }
    MakeSprite(&Ball1, BALL_SIZE, BALL_SIZE);
    MakeSprite(&Ball2, BALL_SIZE, BALL_SIZE);
    MakeSprite(&Paddle1, PADDLE1_WIDTH, PADDLE_HEIGHT);
    MakeSprite(&Paddle2, PADDLE2_WIDTH, PADDLE_HEIGHT);
    GameMode = MODE_TWO_PLAYERS;
    NewMatch();
    ShowBob(&Ball2);
    for (auto _ : state) benchmark::DoNotOptimize(DrawMatchScreen());
    for (BitmapImage& background : Backgrounds) DestroyBitmapImage(&background);
    DestroyBob(&Ball1);
    DestroyBob(&Ball2);
    DestroyBob(&Paddle1);
    DestroyBob(&Paddle2);
}
BENCHMARK(BM_DrawMatchScreen);

}  // namespace
