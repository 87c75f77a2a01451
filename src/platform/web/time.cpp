// Time in the browser: the page's clock, and waits that return control to the
// browser (the game's nested loops stay as they are; the call stack is set
// aside while the browser runs and restored afterwards).
#include <emscripten.h>

#include <ctime>

#include "platform/common/show.h"
#include "platform/platform.h"
#include "platform/web/state.h"

// The page's wait: a timer that the browser does not stretch to its 4 ms
// floor for nested timers.
extern "C" void volleen_wait(uint32_t ms);
// The next wait ends early when the player presses or moves something.
EM_JS(void, volleen_wake_on_input, (), { Volleen.wakeOnInput(); });

namespace platform {
namespace web {

void Wait(uint32_t ms) {
    show::ShowWhatChanged();
    volleen_wait(ms);
    state.lastWait = TickCount();
}

}  // namespace web

uint64_t PreciseTime() { return static_cast<uint64_t>(emscripten_get_now() * 1000.0); }

uint32_t TickCount() { return static_cast<uint32_t>(PreciseTime() / 1000); }

void WaitUntil(uint64_t deadline) {
    web::state.padSamples.EndStep();
    // The page's timers count whole milliseconds and often fire one late: a
    // timer to about two milliseconds before the deadline, then the shortest
    // turns the browser gives until it is reached.
    for (uint64_t now = PreciseTime(); now < deadline && !CloseRequested(); now = PreciseTime()) {
        const uint64_t left = deadline - now;
        web::Wait(left > 3000 ? static_cast<uint32_t>((left - 2000) / 1000) : 0);
    }
}

void Sleep(uint32_t ms) {
    web::state.padSamples.EndStep();
    const uint32_t start = TickCount();
    web::Wait(ms);
    // A timer may fire a little early; the pause never ends short.
    for (uint32_t gone = TickCount() - start; gone < ms; gone = TickCount() - start) {
        web::Wait(ms - gone);
    }
}

void IdleStep() {
    web::state.padSamples.EndStep();
    web::Wait(1);
}

void WaitForInput(uint32_t ms) {
    web::state.padSamples.EndStep();
    volleen_wake_on_input();
    web::Wait(ms);
}

int64_t CalendarSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

}  // namespace platform
