// Presenting the 8-bit visible surface on the page's canvas, through the
// palette; the page enlarges it.
#include <emscripten.h>

#include <cstring>

#include "platform/common/show.h"
#include "platform/common/surface.h"
#include "platform/platform.h"
#include "platform/web/baked_font.h"
#include "platform/web/state.h"

// Puts `width` x `height` RGBA pixels on the page's canvas.
EM_JS(void, volleen_show, (const uint32_t* rgba, int32_t width, int32_t height),
      { Volleen.show(rgba, width, height); });
EM_JS(void, volleen_blank, (), { Volleen.blank(); });

namespace platform {
namespace web {

void Present() {
    const Surface* primary = display::Primary;
    if (!state.displayOpen || primary == nullptr) {
        volleen_blank();
        return;
    }
    uint32_t colours[256];
    for (int i = 0; i < 256; ++i) {
        const uint8_t* entry = display::Palette + 4 * i;
        // Canvas pixels are red, green, blue, alpha in memory order.
        colours[i] = 0xFF000000u | (uint32_t{entry[2]} << 16) | (uint32_t{entry[1]} << 8) |
                     uint32_t{entry[0]};
    }
    state.rgba.resize(static_cast<size_t>(primary->width) * primary->height);
    for (int32_t y = 0; y < primary->height; ++y) {
        const uint8_t* from = primary->pixels.data() + static_cast<size_t>(y) * primary->pitch;
        uint32_t* to = state.rgba.data() + static_cast<size_t>(y) * primary->width;
        for (int32_t x = 0; x < primary->width; ++x) to[x] = colours[from[x]];
    }
    volleen_show(state.rgba.data(), primary->width, primary->height);
}

}  // namespace web

using web::state;

bool OpenDisplay(int32_t width, int32_t height, Surface** primary, Surface** back,
                 std::string* why) {
    if (!state.windowOpen) {
        SetWhy(why, "the game window is not open");
        return false;
    }
    if (!display::Open(width, height, why)) return false;
    *primary = display::Primary;
    *back = display::Back;
    state.displayOpen = true;
    web::Present();
    return true;
}

void CloseDisplay() {
    if (!state.displayOpen) return;
    state.displayOpen = false;
    display::Close();
    show::Reset();
    web::Present();
}

// The browser shows the canvas only once control is back with it, so what a
// flip or a palette change shows is seen at the next wait.
bool Flip() {
    if (!display::Exchange()) return false;
    show::ShowWhatChanged();
    return true;
}

void SetPalette(const uint8_t entries[1024]) {
    std::memcpy(display::Palette, entries, 1024);
    show::Owe();
}

void PresentVisibleSurface() { web::Present(); }

bool DrawText(Surface* surface, int32_t x, int32_t y, const char* text, uint8_t index) {
    if (surface == nullptr || surface->locked) return false;
    if (text == nullptr || text[0] == '\0') return true;
    text::Strip strip;
    baked::Layout(text, strip);
    text::Stamp(surface, x, y, strip, index);
    return true;
}

}  // namespace platform
