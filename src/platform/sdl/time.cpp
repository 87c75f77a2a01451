// Time in the window: the real clock, and waits that keep the window alive.
#include <SDL.h>

#include <chrono>
#include <ctime>
#include <thread>

#include "platform/common/message_queue.h"
#include "platform/common/net_wait.h"
#include "platform/common/show.h"
#include "platform/platform.h"
#include "platform/sdl/frame_stats.h"
#include "platform/sdl/state.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// A long wait is slept in slices this long, so the window still answers
// (repaints when uncovered, hears a close); a frame's wait is one slice.
constexpr uint64_t SliceUs = 50'000;
// The end of a wait is not slept: a sleep often overruns by a tenth of a
// millisecond, more on a busy machine. This much is waited out on the clock.
constexpr uint64_t FinishUs = 200;

void SleepUntil(uint64_t time) {
    const uint64_t now = PreciseTime();
    if (time > now && net_wait::SleepFor(time - now)) return;
    std::this_thread::sleep_until(Clock::time_point(std::chrono::microseconds(time)));
}

}  // namespace

uint64_t PreciseTime() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch())
            .count());
}

uint32_t TickCount() { return static_cast<uint32_t>(PreciseTime() / 1000); }

void WaitUntil(uint64_t deadline) {
    sdl::state.padSamples.EndStep();
    show::ShowWhatChanged();
    sdl::frame_stats::NoteWait();
    for (;;) {
        if (queue::CloseRequested()) return;
        const uint64_t now = PreciseTime();
        if (now >= deadline) return;
        if (deadline - now > SliceUs + FinishUs) {
            SleepUntil(now + SliceUs);
            sdl::PumpEventsIfStale();
            show::ShowWhatChanged();  // an uncovered window is drawn again
            continue;
        }
        if (deadline - now > FinishUs) SleepUntil(deadline - FinishUs);
        // The events are taken in the moments left, not by the frame that
        // follows: it finds them fresh, and its drawing starts on time.
        sdl::PumpEventsIfStale();
        if (queue::CloseRequested()) return;
        while (PreciseTime() < deadline) {
            // the last moments on the clock itself
        }
        return;
    }
}

void Sleep(uint32_t ms) {
    sdl::frame_stats::Break();  // a pause of the designed flow, not a frame
    WaitUntil(PreciseTime() + uint64_t{ms} * 1000);
}

void IdleStep() {
    sdl::state.padSamples.EndStep();
    sdl::frame_stats::Break();
    show::ShowWhatChanged();
    sdl::PumpEventsIfStale();
    if (!net_wait::SleepFor(1000)) SDL_Delay(1);
}

void WaitForInput(uint32_t ms) {
    sdl::state.padSamples.EndStep();
    sdl::frame_stats::Break();
    show::ShowWhatChanged();
    sdl::PumpEventsIfStale();
    if (queue::CloseRequested()) return;
    // Leaves the event queued: the pump that follows handles it.
    SDL_WaitEventTimeout(nullptr, static_cast<int>(ms));
}

int64_t CalendarSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

}  // namespace platform
