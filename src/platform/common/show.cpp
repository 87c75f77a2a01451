#include "platform/common/show.h"

#include "platform/common/surface.h"

namespace platform::show {

namespace {
bool Stale = false;  // the visible surface changed since it was last shown
bool Owed = false;   // a whole new picture is owed whatever the surface holds
}  // namespace

void SurfaceChanged(const Surface* surface) {
    if (surface == display::Primary) {
        // A lock only says drawing may follow; its unlock tells of the drawing.
        if (!surface->locked) Stale = true;
    } else if (Stale) {
        // The game has turned from the visible surface to other work.
        ShowWhatChanged();
    }
}

void Owe() { Owed = true; }

void ShowWhatChanged() {
    if (!Stale && !Owed) return;
    Stale = false;
    Owed = false;
    PresentVisibleSurface();
}

void PictureReplaced() { Stale = false; }

void Reset() {
    Stale = false;
    Owed = false;
}

}  // namespace platform::show

namespace platform {

// A program with no screen (the data generator, the font baker) has nothing
// to present; each backend's own definition takes the place of this one.
[[gnu::weak]] void PresentVisibleSurface() {}

}  // namespace platform
