#include "clock/random.h"

#include "platform/platform.h"

uint32_t RandomState = 1;
std::vector<int64_t>* CalendarRecord = nullptr;
const std::vector<int64_t>* CalendarPlayback = nullptr;
size_t CalendarPlaybackNext = 0;
bool CalendarRanOut = false;
int64_t CalendarMatchStart = -1;
uint32_t CalendarMatchFrames = 0;

void SeedRandom(uint32_t seed) { RandomState = seed; }

int32_t NextRandom() {
    RandomState = RandomState * 1103515245u + 12345u;
    return static_cast<int32_t>((RandomState / 65536u) % 32768u);
}

int64_t CalendarSecondsForSeed() {
    int64_t seconds = 0;
    if (CalendarMatchStart >= 0) {
        seconds = CalendarMatchStart + static_cast<int64_t>(CalendarMatchFrames) * 33 / 1000;
    } else if (CalendarPlayback == nullptr) {
        seconds = platform::CalendarSeconds();
    } else if (CalendarPlaybackNext < CalendarPlayback->size()) {
        seconds = (*CalendarPlayback)[CalendarPlaybackNext++];
    } else {
        CalendarRanOut = true;
    }
    if (CalendarRecord != nullptr) CalendarRecord->push_back(seconds);
    return seconds;
}

void SeedRandomFromClock() { SeedRandom(static_cast<uint32_t>(CalendarSecondsForSeed())); }
