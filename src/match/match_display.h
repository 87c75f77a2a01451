// The frame of a match on screen.
#pragma once

#include <cstdint>

int32_t DrawMatchScreen();
