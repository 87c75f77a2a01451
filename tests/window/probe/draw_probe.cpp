// A test-only program on the SDL backend: draws on the visible surface the
// way still screens do (no flip), a fill and many lines of text in one burst,
// then makes a sprite and computes for a while without waiting or reading
// input, as the game does while it loads its pictures.
//
//   volleen-draw-probe
//
// Prints "burst N" with the number of presents the burst cost, "busy" while
// it computes (the burst must be on screen by then), and "done".
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/sdl/state.h"

int main() {
    std::string why;
    platform::Surface* primary = nullptr;
    platform::Surface* back = nullptr;
    if (!platform::CreateGameWindow("Volleen", nullptr, &why) ||
        !platform::OpenDisplay(640, 480, &primary, &back, &why)) {
        std::fprintf(stderr, "draw probe: %s\n", why.c_str());
        return 1;
    }
    uint8_t palette[1024] = {};
    for (int i = 0; i < 256; ++i) {
        palette[4 * i] = static_cast<uint8_t>(i);
        palette[4 * i + 2] = static_cast<uint8_t>(255 - i);
    }
    platform::SetPalette(palette);
    for (int i = 0; i < 300; ++i) platform::IdleStep();

    const uint32_t before = platform::sdl::state.presents;
    platform::FillSurface(primary, 100);
    for (int line = 0; line < 40; ++line) {
        platform::DrawText(primary, 20, 10 + 11 * line, "Loading...", 200);
    }
    platform::Surface* sprite = platform::CreateSurface(16, 16);
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    if (platform::LockSurface(sprite, &pixels, &pitch)) platform::UnlockSurface(sprite);
    std::printf("burst %u\n", platform::sdl::state.presents - before);

    std::printf("busy\n");
    std::fflush(stdout);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    volatile uint64_t sum = 0;
    while (std::chrono::steady_clock::now() < end) sum = sum + 1;

    platform::ReleaseSurface(sprite);
    platform::CloseDisplay();
    platform::DestroyGameWindow();
    std::printf("done\n");
    return 0;
}
