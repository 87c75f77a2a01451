// The display in the window: the shared surfaces and palette, shown by
// present.cpp when the show rule (platform/common/show.h) says.
#include <SDL.h>

#include <cstring>

#include "platform/common/show.h"
#include "platform/common/surface.h"
#include "platform/common/text_raster.h"
#include "platform/platform.h"
#include "platform/sdl/frame_stats.h"
#include "platform/sdl/state.h"

namespace platform {

using sdl::state;

bool OpenDisplay(int32_t width, int32_t height, Surface** primary, Surface** back,
                 std::string* why) {
    if (state.window == nullptr) {
        SetWhy(why, "the game window is not open");
        return false;
    }
    if (!display::Open(width, height, why)) return false;
    if (!sdl::OpenPresenterPicture(width, height)) {
        SetWhy(why, SDL_GetError());
        display::Close();
        return false;
    }
    *primary = display::Primary;
    *back = display::Back;
    state.displayOpen = true;
    // Both surfaces start black, as the window already is: nothing to show.
    return true;
}

void CloseDisplay() {
    if (!state.displayOpen) return;
    state.displayOpen = false;
    sdl::ClosePresenterPicture();
    display::Close();
    show::Reset();
    sdl::Present();  // the window goes black
}

bool Flip() {
    if (!display::Exchange()) return false;
    // The frame's moment is when its picture goes to be shown; what showing
    // it costs is counted apart.
    sdl::frame_stats::NoteFlip();
    show::ShowWhatChanged();
    return true;
}

void SetPalette(const uint8_t entries[1024]) {
    std::memcpy(display::Palette, entries, 1024);
    // Shown at the next wait, which for a fade step follows at once.
    show::Owe();
    sdl::frame_stats::Break();
}

bool DrawText(Surface* surface, int32_t x, int32_t y, const char* text, uint8_t index) {
    return text::Draw(surface, x, y, text, index);
}

}  // namespace platform
