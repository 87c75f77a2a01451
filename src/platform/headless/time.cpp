// Time headless: virtual milliseconds that move only through sleeps and idle
// steps (or the real clock in realtime mode).
#include <chrono>
#include <thread>

#include "platform/common/net_wait.h"
#include "platform/common/show.h"
#include "platform/headless/state.h"

namespace platform {

using headless::detail::Backend;

uint32_t TickCount() {
    headless::detail::Poll();
    // Wraps at 2^32 like the old tick count; a start tick near the top lets
    // a run test the wrap.
    return static_cast<uint32_t>(Backend().options.startTick + Backend().now);
}

uint64_t PreciseTime() { return Backend().now * 1000; }

void WaitUntil(uint64_t deadline) {
    show::ShowWhatChanged();
    Backend().padSamples.EndStep();
    // A millisecond at a time, each step as a waiting loop of tick reads,
    // close checks and idle steps takes it, so that every run (the script's
    // events, the polls that keep a spinning loop moving) stays as it was.
    for (;;) {
        headless::detail::Poll();
        if (Backend().now * 1000 >= deadline || CloseRequested()) return;
        IdleStep();
    }
}

void Sleep(uint32_t ms) {
    show::ShowWhatChanged();
    Backend().padSamples.EndStep();
    headless::detail::Sync();
    headless::detail::Tell({.kind = headless::ReportKind::Sleep, .number = ms});
    headless::detail::Wait(ms);
}

void IdleStep() {
    show::ShowWhatChanged();
    Backend().padSamples.EndStep();
    if (Backend().options.realtime) {
        if (!platform::net_wait::SleepFor(1000)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        headless::detail::Poll();
        return;
    }
    headless::detail::AdvanceTo(Backend().now + 1);
}

void WaitForInput(uint32_t ms) {
    Backend().padSamples.EndStep();
    for (uint32_t i = 0; i < ms; ++i) {
        const size_t applied = Backend().nextEvent;
        IdleStep();
        if (Backend().nextEvent != applied || CloseRequested()) return;
    }
}

int64_t CalendarSeconds() {
    headless::detail::Poll();
    return Backend().options.epoch + static_cast<int64_t>(Backend().now / 1000);
}

}  // namespace platform
