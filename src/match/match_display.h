// The frame of a match on screen, and the serve after a point.
#pragma once

#include <cstdint>

int32_t DrawMatchScreen();
// 1 while play goes on, 0 when the match is over (end shown).
int32_t ServeAfterPoint();
