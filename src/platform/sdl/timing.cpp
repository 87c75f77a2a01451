// Time in the window: the real clock, and waits that keep the window alive.
#include <SDL.h>

#include <algorithm>
#include <ctime>

#include "platform/common/message_queue.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"

namespace platform {

using sdl::state;

uint32_t TickCount() { return static_cast<uint32_t>(SDL_GetTicks64()); }

void Sleep(uint32_t ms) {
    // Long pauses (the logos, the credits) are cut into short slices so the
    // window still answers: it repaints when uncovered and hears a close.
    sdl::PresentIfChanged();
    const uint64_t end = SDL_GetTicks64() + ms;
    for (;;) {
        sdl::PumpEvents();
        const uint64_t now = SDL_GetTicks64();
        if (now >= end || queue::CloseRequested()) break;
        SDL_Delay(static_cast<Uint32>(std::min<uint64_t>(end - now, 10)));
    }
}

void IdleStep() {
    sdl::PresentIfChanged();
    sdl::PumpEvents();
    SDL_Delay(1);
}

int64_t CalendarSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

}  // namespace platform
