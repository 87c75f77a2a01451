// A test-only program on the SDL backend: opens the game window, reads the
// keyboard and the mouse like the game does, and prints what it sees so a
// script driving it with real X input can check the translation.
//
//   volleen-key-probe RUN_MS [MOUSE_QUIET_MS]
//
// Prints "ready" once the window is up, "down <code>" when a set-1 code
// becomes held, "up <code>" when released, "mouse <x> <y>" for each read
// that moved, "reading-mouse" when the first MOUSE_QUIET_MS are over (the
// mouse is not read before), "button <n>" when a button goes down, and
// "filled" when, 1.5 s in, it has painted the visible surface in entry 200.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

int main(int argc, char** argv) {
    const uint32_t runMs = argc > 1 ? static_cast<uint32_t>(std::atoi(argv[1])) : 5000;
    const uint32_t quietMs = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 0;
    std::string why;
    if (!platform::CreateGameWindow("Volleen", "volleen-icon.bmp", &why)) {
        std::fprintf(stderr, "key probe: %s\n", why.c_str());
        return 1;
    }
    platform::Surface* primary = nullptr;
    platform::Surface* back = nullptr;
    if (platform::OpenDisplay(640, 480, &primary, &back, &why)) {
        uint8_t palette[1024] = {};
        for (int i = 0; i < 256; ++i) {
            palette[4 * i] = static_cast<uint8_t>(i);
            palette[4 * i + 2] = static_cast<uint8_t>(255 - i);
        }
        platform::SetPalette(palette);
        platform::FillSurface(primary, 100);
    }
    platform::OpenKeyboard();
    platform::OpenMouse();
    platform::CaptureMouse(true);
    std::printf("ready\n");
    std::fflush(stdout);

    uint8_t previous[256] = {};
    uint8_t buttonsBefore[4] = {};
    bool mouseAnnounced = false;
    bool filled = false;
    const uint32_t start = platform::TickCount();
    while (platform::TickCount() - start < runMs) {
        uint8_t keys[256];
        platform::ReadKeyboard(keys);
        for (int code = 0; code < 256; ++code) {
            if ((keys[code] != 0) != (previous[code] != 0)) {
                std::printf("%s %d\n", keys[code] ? "down" : "up", code);
            }
        }
        std::memcpy(previous, keys, sizeof keys);
        if (!filled && primary != nullptr && platform::TickCount() - start >= 1500) {
            // A still-screen change straight onto the visible surface, with
            // no flip: it must show before the next read.
            uint8_t* pixels = nullptr;
            int32_t pitch = 0;
            if (platform::LockSurface(primary, &pixels, &pitch)) {
                for (int32_t y = 0; y < 480; ++y) std::memset(pixels + y * pitch, 200, 640);
                platform::UnlockSurface(primary);
            }
            filled = true;
            std::printf("filled\n");
        }
        if (platform::TickCount() - start >= quietMs) {
            if (!mouseAnnounced) {
                std::printf("reading-mouse\n");
                mouseAnnounced = true;
            }
            platform::MouseReading mouse;
            platform::ReadMouse(mouse);
            if (mouse.x != 0 || mouse.y != 0) std::printf("mouse %d %d\n", mouse.x, mouse.y);
            for (int b = 0; b < 4; ++b) {
                if (mouse.buttons[b] != 0 && buttonsBefore[b] == 0) std::printf("button %d\n", b);
                buttonsBefore[b] = mouse.buttons[b];
            }
        }
        std::fflush(stdout);
        platform::Message message;
        if (platform::PeekMessage(message) && message.kind == platform::MessageKind::Close) {
            std::printf("close\n");
            break;
        }
        platform::IdleStep();
    }
    platform::CloseMouse();
    platform::CloseKeyboard();
    platform::CloseDisplay();
    platform::DestroyGameWindow();
    std::printf("done\n");
    return 0;
}
