// Lit shapes shared by the sprites, the icon and the pictures: a shaded
// sphere and a bevelled bar, each with a dark rim so it stands out on any court.
#pragma once

#include "canvas.h"
#include "palette_builder.h"

namespace gen {

// A sphere filling the box (x, y, size x size); pixels outside stay as they are.
void DrawSphere(Canvas& canvas, int x, int y, int size, const Ramp& ramp, uint8_t rim);
// A horizontal bar with rounded ends filling (x, y, width x height).
void DrawBar(Canvas& canvas, int x, int y, int width, int height, const Ramp& ramp, uint8_t rim);

}  // namespace gen
