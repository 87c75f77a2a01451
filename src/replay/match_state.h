// The state of a match as replays and online play compare it: the match
// variables, the balls, the paddles and the random generator, as bytes in a
// fixed order.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t MATCH_STATE_BYTES = 100;

void SaveMatchState(uint8_t out[MATCH_STATE_BYTES]);
// Sets every variable SaveMatchState saves (a ball's visibility included).
void RestoreMatchState(const uint8_t in[MATCH_STATE_BYTES]);
// CRC-32 of the saved state.
uint32_t MatchStateChecksum();
