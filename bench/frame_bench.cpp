// What the game's work costs: the text a frame draws, the whole composed
// frame, the frame converted for the window beside a plain copy of its bytes,
// a fade step and the loading of the pictures. Run: build/bench_frame (from
// make bench, which also times the real window: bench/window_bench.py).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/layout.h"
#include "frontend/assets.h"
#include "graphics/bitmap_image.h"
#include "graphics/bob.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "graphics/transitions.h"
#include "match/match.h"
#include "match/match_display.h"
#include "platform/common/surface.h"
#include "platform/common/text_raster.h"
#include "platform/headless/headless.h"
#include "platform/sdl/picture_scale.h"
#include "shell/startup.h"

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

void MakeCourt() {
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
}

void ClearCourt() {
    for (BitmapImage& background : Backgrounds) DestroyBitmapImage(&background);
    DestroyBob(&Ball1);
    DestroyBob(&Ball2);
    DestroyBob(&Paddle1);
    DestroyBob(&Paddle2);
}

// A whole match frame: background copy, four sprites, two score lines, the
// serve prompt and the flip.
void BM_DrawMatchScreen(benchmark::State& state) {
    StartHeadlessDisplay();
    MakeCourt();
    for (auto _ : state) benchmark::DoNotOptimize(DrawMatchScreen());
    ClearCourt();
}
BENCHMARK(BM_DrawMatchScreen);

// The frame as the window shows it where the processor draws: composed, then
// through the palette into 32-bit pixels in one pass, at the picture's own
// size (a 640x480 screen) and enlarged to 1440x1080 (a 1920x1080 screen).
void BM_FrameAndConversion(benchmark::State& state) {
    StartHeadlessDisplay();
    MakeCourt();
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    std::vector<uint32_t> window(static_cast<size_t>(width) * height);
    uint32_t colours[256];
    for (uint32_t i = 0; i < 256; ++i) colours[i] = 0xFF000000u | i * 0x010101u;
    const platform::Surface& primary = *platform::display::Primary;
    for (auto _ : state) {
        DrawMatchScreen();
        platform::sdl::ScaleThroughPalette(
            {const_cast<uint8_t*>(primary.pixels.data()), primary.width, primary.height,
             primary.pitch},
            colours, {reinterpret_cast<uint8_t*>(window.data()), width, height, width * 4});
        benchmark::DoNotOptimize(window.data());
    }
    ClearCourt();
}
BENCHMARK(BM_FrameAndConversion)->Args({640, 480})->Args({1440, 1080});

// What the above is measured against: a copy of the 32-bit frame's bytes.
void BM_CopyOf32BitFrame(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(state.range(0)) * state.range(1) * 4;
    std::vector<uint8_t> from(bytes, 1);
    std::vector<uint8_t> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_CopyOf32BitFrame)->Args({640, 480})->Args({1440, 1080});

// A fade to black, per step: the palette work and the frame clock, without
// the 12 ms each step is held (headless time does not pass).
void BM_FadeStep(benchmark::State& state) {
    StartHeadlessDisplay();
    constexpr int Steps = 80;
    for (auto _ : state) FadeToBlack();
    state.SetItemsProcessed(state.iterations() * Steps);
}
BENCHMARK(BM_FadeStep);

// The pictures read and cut at start-up, from the generated data folder.
void BM_LoadAssets(benchmark::State& state) {
    if (chdir(VOLLEEN_BINARY_DIR "/data") != 0) {
        state.SkipWithError("no data folder: build the data first");
        return;
    }
    std::string error;
    headless::Configure({}, &error);
    for (auto _ : state) {
        LoadAssets();
        state.PauseTiming();
        GameShutdown();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadAssets)->Unit(benchmark::kMillisecond);

}  // namespace
