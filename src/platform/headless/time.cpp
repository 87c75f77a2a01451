// Time headless: virtual milliseconds that move only through sleeps and idle
// steps (or the real clock in realtime mode).
#include <chrono>
#include <thread>

#include "platform/headless/backend.h"

namespace platform {

using headless::detail::Backend;

uint32_t TickCount() {
    headless::detail::Poll();
    // Wraps at 2^32 like the old tick count; a start tick near the top lets
    // a run test the wrap.
    return static_cast<uint32_t>(Backend().options.startTick + Backend().now);
}

void Sleep(uint32_t ms) {
    headless::detail::Sync();
    if (Backend().observer) Backend().observer->OnSleep(static_cast<uint32_t>(Backend().now), ms);
    headless::detail::Wait(ms);
}

void IdleStep() {
    if (Backend().options.realtime) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        headless::detail::Poll();
        return;
    }
    headless::detail::AdvanceTo(Backend().now + 1);
}

int64_t CalendarSeconds() {
    headless::detail::Poll();
    return Backend().options.epoch + static_cast<int64_t>(Backend().now / 1000);
}

}  // namespace platform
