// Time headless: virtual milliseconds that move only through sleeps and idle
// steps (or the real clock in realtime mode).
#include <chrono>
#include <thread>

#include "platform/headless/backend.h"

namespace platform {

using headless::detail::S;

uint32_t TickCount() {
    headless::detail::Poll();
    // Wraps at 2^32 like the old tick count; a start tick near the top lets
    // a run test the wrap.
    return static_cast<uint32_t>(S().options.startTick + S().now);
}

void Sleep(uint32_t ms) {
    headless::detail::Sync();
    if (S().observer) S().observer->OnSleep(static_cast<uint32_t>(S().now), ms);
    headless::detail::Wait(ms);
}

void IdleStep() {
    if (S().options.realtime) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        headless::detail::Poll();
        return;
    }
    headless::detail::AdvanceTo(S().now + 1);
}

int64_t CalendarSeconds() {
    headless::detail::Poll();
    return S().options.epoch + static_cast<int64_t>(S().now / 1000);
}

}  // namespace platform
