// One frame of play.
#pragma once

#include <cstdint>

int32_t MatchFrame();
