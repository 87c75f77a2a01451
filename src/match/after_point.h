// After a point: the ball back on the serving paddle, and at the winning
// score the end of the match.
#pragma once

#include <cstdint>

// 1 while play goes on, 0 when the match is over (end shown).
int32_t ServeAfterPoint();
