#include "clock/random.h"

#include "platform/platform.h"

namespace {
uint32_t RandomState = 1;
}

void SeedRandom(uint32_t seed) { RandomState = seed; }

int32_t NextRandom() {
    RandomState = RandomState * 1103515245u + 12345u;
    return static_cast<int32_t>((RandomState / 65536u) % 32768u);
}

void SeedRandomFromClock() { SeedRandom(static_cast<uint32_t>(platform::CalendarSeconds())); }
