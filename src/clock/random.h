// The game's pseudo-random numbers: a small linear congruential generator with
// the classic 0 to 32767 range. Ours, so every machine draws the same numbers.
#pragma once

#include <cstdint>

constexpr int32_t RANDOM_MAX = 32767;

void SeedRandom(uint32_t seed);
// The next number, 0 to RANDOM_MAX.
int32_t NextRandom();
// Reseeds from the calendar clock in seconds, as the game does before a draw.
void SeedRandomFromClock();
