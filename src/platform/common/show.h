// When the picture on the screen is brought up to date: one rule for every
// backend. What the game drew is shown at a flip, at a palette change, at
// every wait (sleep, idle step, the frame clock), and as soon as drawing
// straight onto the visible surface is followed by drawing anywhere else, so
// a still screen such as "Loading..." is up while the game goes on working.
// Reading input never shows anything; a burst of drawing costs one show.
#pragma once

#include "platform/platform.h"

namespace platform {

namespace show {
// The surfaces tell of every change of their pixels (and of each lock).
void SurfaceChanged(const Surface* surface);
// A whole new picture is owed: the palette changed, the window was exposed
// or resized, the display opened or closed.
void Owe();
// Shows the picture when it changed or is owed; the backends call it from
// Flip, SetPalette and their waits, and nowhere else.
void ShowWhatChanged();
// The visible picture is about to be replaced by a flip: it need not be
// shown first.
void PictureReplaced();
// Forgets what was owed (the display closed).
void Reset();
}  // namespace show

// Each backend's own way of putting the visible surface, through the palette,
// on the screen (the runner keeps only a count). Called by ShowWhatChanged.
void PresentVisibleSurface();

}  // namespace platform
