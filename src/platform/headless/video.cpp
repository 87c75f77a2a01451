// The display and text headless: the shared surfaces, reported to the observer.
#include <cstring>

#include "platform/common/show.h"
#include "platform/common/surface.h"
#include "platform/common/text_raster.h"
#include "platform/headless/state.h"

namespace platform {

using headless::detail::Backend;

bool OpenDisplay(int32_t width, int32_t height, Surface** primary, Surface** back,
                 std::string* why) {
    if (!display::Open(width, height, why)) return false;
    if (primary) *primary = display::Primary;
    if (back) *back = display::Back;
    return true;
}

void CloseDisplay() {
    display::Close();
    show::Reset();
}

bool Flip() {
    if (!display::Exchange()) return false;
    auto& s = Backend();
    ++s.flipCount;
    headless::detail::Tell({.kind = headless::ReportKind::Flip, .number = s.flipCount});
    show::ShowWhatChanged();
    return true;
}

void PresentVisibleSurface() { ++Backend().presentCount; }

void SetPalette(const uint8_t entries[1024]) {
    if (entries == nullptr) return;
    std::memcpy(display::Palette, entries, sizeof display::Palette);
    show::Owe();
    headless::detail::Tell({.kind = headless::ReportKind::Palette, .palette = display::Palette});
}

bool DrawText(Surface* surface, int32_t x, int32_t y, const char* text, uint8_t index) {
    if (!text::Draw(surface, x, y, text, index)) return false;
    headless::detail::Tell({.kind = headless::ReportKind::Text,
                            .primary = surface == display::Primary,
                            .x = x,
                            .y = y,
                            .text = text ? text : "",
                            .index = index});
    return true;
}

}  // namespace platform
