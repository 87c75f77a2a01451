#include "platform/sdl/frame_stats.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/platform.h"

namespace platform::sdl::frame_stats {
namespace {

bool enabled = false;
bool flipped = false;  // a flip since the last wait
uint64_t flipTime = 0;
bool inRun = false;  // the last frame belongs to the run going on
uint64_t lastFrame = 0;
uint64_t frames = 0;
std::vector<uint32_t> periods;  // microseconds
std::vector<uint32_t> presents;

// The value of rank `fraction` (0 the least, 1 the greatest), in ms.
double Ms(std::vector<uint32_t>& values, double fraction) {
    if (values.empty()) return 0;
    const size_t rank = std::min(
        values.size() - 1, static_cast<size_t>(fraction * static_cast<double>(values.size())));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(rank),
                     values.end());
    return values[rank] / 1000.0;
}

uint32_t Clamped(uint64_t us) { return static_cast<uint32_t>(std::min<uint64_t>(us, UINT32_MAX)); }

}  // namespace

void Enable(bool on) { enabled = on; }

void NoteFlip() {
    flipped = enabled;
    flipTime = PreciseTime();
}

void NoteWait() {
    if (!flipped) return;
    flipped = false;
    if (inRun) periods.push_back(Clamped(flipTime - lastFrame));
    lastFrame = flipTime;
    inRun = true;
    ++frames;
}

void Break() {
    flipped = false;
    inRun = false;
}

void NotePresent(uint64_t us) {
    if (enabled) presents.push_back(Clamped(us));
}

void Report() {
    if (enabled && !presents.empty()) {
        std::printf(
            "volleen: %llu frames, period min %.2f / median %.2f / p99 %.2f / max %.2f ms, "
            "present median %.2f / p99 %.2f ms\n",
            static_cast<unsigned long long>(frames), Ms(periods, 0.0), Ms(periods, 0.5),
            Ms(periods, 0.99), Ms(periods, 1.0), Ms(presents, 0.5), Ms(presents, 0.99));
        std::fflush(stdout);
    }
    Break();
    frames = 0;
    periods.clear();
    presents.clear();
}

}  // namespace platform::sdl::frame_stats
