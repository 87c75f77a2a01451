// The game's pseudo-random numbers: a small linear congruential generator with
// the classic 0 to 32767 range. Ours, so every machine draws the same numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int32_t RANDOM_MAX = 32767;

// The generator's state: the last seed, stepped by each draw.
extern uint32_t RandomState;

// The calendar seconds a reseed reads come from the machine's clock, unless
// CalendarPlayback is set: then each read takes its next value (a replay
// being played, or what the host of an online match read), and CalendarRanOut
// is set when there is none left (the read gives 0, never the clock). While
// CalendarRecord is set, each value read is appended to it.
extern std::vector<int64_t>* CalendarRecord;
extern const std::vector<int64_t>* CalendarPlayback;
extern size_t CalendarPlaybackNext;  // the index of the next value to take
extern bool CalendarRanOut;
// Online both machines read one calendar instead: the seconds the host chose
// for the match, moved on by the frames played (33 ms each), so that every
// reseed is the same on both. Used while CalendarMatchStart is not negative;
// the online step sets CalendarMatchFrames before each frame.
extern int64_t CalendarMatchStart;
extern uint32_t CalendarMatchFrames;
int64_t CalendarSecondsForSeed();

void SeedRandom(uint32_t seed);
// The next number, 0 to RANDOM_MAX.
int32_t NextRandom();
// Reseeds from the calendar seconds, as the game does before a draw.
void SeedRandomFromClock();
