// The gamepad's share of the menu picture: beside each menu key, the pad
// buttons that do the same.
#pragma once

#include "canvas.h"

namespace gen {

void DrawPadHints(Canvas& canvas);

}  // namespace gen
