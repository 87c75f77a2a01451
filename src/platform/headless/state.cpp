// Virtual time, the script's events and the observer.
#include <algorithm>
#include <cstring>
#include <thread>

#include "platform/common/mixer.h"
#include "platform/common/surface.h"
#include "platform/headless/backend.h"

namespace headless::detail {

namespace {

// A loop that reads keys or ticks this many times without time moving is
// spinning; time is moved on for it.
constexpr uint32_t PollsPerForcedMs = 1000;

uint64_t RealElapsedMs() {
    const auto elapsed = std::chrono::steady_clock::now() - S().realStart;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void Shot(const std::string& name) {
    State& s = S();
    if (s.observer == nullptr) return;
    const platform::Surface* primary = platform::display::Primary;
    if (primary == nullptr) {
        // No display yet: the screen is black.
        std::vector<uint8_t> black(640 * 480, 0);
        s.observer->OnShot(static_cast<uint32_t>(s.now), name, black.data(), 640, 480,
                           platform::display::Palette);
        return;
    }
    std::vector<uint8_t> packed(static_cast<size_t>(primary->width) * primary->height);
    for (int32_t row = 0; row < primary->height; ++row) {
        std::memcpy(packed.data() + static_cast<size_t>(row) * primary->width,
                    primary->pixels.data() + static_cast<size_t>(row) * primary->pitch,
                    static_cast<size_t>(primary->width));
    }
    s.observer->OnShot(static_cast<uint32_t>(s.now), name, packed.data(), primary->width,
                       primary->height, platform::display::Palette);
}

void Apply(const ScriptEvent& event) {
    switch (event.kind) {
        case EventKind::Key:
            SetKey(event.a, event.b != 0);
            break;
        case EventKind::Mouse:
            AddMouseMotion(event.a, event.b);
            break;
        case EventKind::Button:
            SetButton(event.a, event.b != 0);
            break;
        case EventKind::Close:
            platform::PostMessage(platform::MessageKind::Close);
            break;
        case EventKind::Shot:
            Shot(event.name);
            break;
        case EventKind::PadPlug:
            SetPadConnected(event.a, event.b != 0);
            break;
        case EventKind::PadButton:
            SetPadButton(event.a, static_cast<platform::PadButton>(event.b), event.c != 0);
            break;
        case EventKind::PadAxis:
            SetPadAxis(event.a, static_cast<platform::PadAxis>(event.b),
                       static_cast<int16_t>(event.c));
            break;
    }
}

void ApplyDueEvents() {
    State& s = S();
    while (s.nextEvent < s.events.size() && s.events[s.nextEvent].ms <= s.now) {
        // Advance the cursor first: an observer may look at the state again.
        const ScriptEvent& event = s.events[s.nextEvent++];
        Apply(event);
    }
}

void CheckUntil() {
    State& s = S();
    if (s.untilReached || s.options.untilMs < 0) return;
    if (s.now < static_cast<uint64_t>(s.options.untilMs)) return;
    s.untilReached = true;
    if (s.observer) s.observer->OnUntil(static_cast<uint32_t>(s.now));
}

// Mixes the sound of the virtual time up to `ms`. The sample count comes from
// the total so that no fraction of a sample is lost between steps. Voices run
// even when nobody keeps the output, so that a one-shot sound ends on time.
void MixTo(uint64_t ms) {
    State& s = S();
    const uint64_t total = ms * platform::mixer::SampleRate / 1000;
    while (s.samplesMixed < total) {
        const uint64_t count = std::min<uint64_t>(total - s.samplesMixed, 1 << 16);
        s.mixScratch.resize(count);
        platform::mixer::Mix(s.mixScratch.data(), static_cast<uint32_t>(count));
        if (s.options.mixAudio) {
            s.mixed.append(reinterpret_cast<const char*>(s.mixScratch.data()), count);
        }
        s.samplesMixed += count;
    }
}

}  // namespace

State& S() {
    static State state;
    return state;
}

void AdvanceTo(uint64_t ms) {
    State& s = S();
    for (;;) {
        ApplyDueEvents();
        CheckUntil();
        if (s.now >= ms) break;
        // Step to the next moment something happens, so events land at their
        // own time even in the middle of a long sleep.
        uint64_t step = ms;
        if (s.nextEvent < s.events.size()) step = std::min(step, s.events[s.nextEvent].ms);
        if (!s.untilReached && s.options.untilMs >= 0) {
            step = std::min(step, static_cast<uint64_t>(s.options.untilMs));
        }
        MixTo(step);
        s.now = step;
        s.pollsWithoutTime = 0;
    }
}

void Poll() {
    State& s = S();
    if (s.options.realtime) {
        AdvanceTo(RealElapsedMs());
        return;
    }
    AdvanceTo(s.now);
    if (++s.pollsWithoutTime >= PollsPerForcedMs) AdvanceTo(s.now + 1);
}

void Sync() {
    if (S().options.realtime) AdvanceTo(RealElapsedMs());
}

void Wait(uint64_t ms) {
    State& s = S();
    const uint64_t target = s.now + ms;
    if (!s.options.realtime) {
        // Event by event, so that a close request ends the wait at its time.
        while (s.now < target && !s.closeRequested) {
            uint64_t step = target;
            if (s.nextEvent < s.events.size()) {
                step = std::min(step, std::max(s.events[s.nextEvent].ms, s.now + 1));
            }
            AdvanceTo(step);
        }
        return;
    }
    // Real sleeps in short slices, so script events and the limit are seen on
    // time during a long pause.
    for (;;) {
        AdvanceTo(RealElapsedMs());
        if (s.now >= target || s.closeRequested) break;
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min<uint64_t>(target - s.now, 5)));
    }
}

}  // namespace headless::detail

namespace headless {

using detail::S;

bool Configure(const Options& options, std::string* error) {
    detail::State& s = S();
    s.options = options;
    s.observer = nullptr;
    s.events.clear();
    s.nextEvent = 0;
    s.now = 0;
    s.realStart = std::chrono::steady_clock::now();
    s.pollsWithoutTime = 0;
    s.untilReached = false;
    s.messages.clear();
    s.closeRequested = false;
    std::memset(s.keys, 0, sizeof s.keys);
    s.mouseX = 0;
    s.mouseY = 0;
    std::memset(s.buttons, 0, sizeof s.buttons);
    s.mouseCaptured = false;
    for (detail::Pad& pad : s.pads) pad = detail::Pad{};
    s.flipCount = 0;
    s.samplesMixed = 0;
    s.mixed.clear();
    // The buffers stay (the game may still hold them); they only fall silent.
    platform::mixer::StopAll();
    platform::display::Close();
    std::memset(platform::display::Palette, 0, sizeof platform::display::Palette);
    return detail::ParseScript(options.scriptText, &s.events, error);
}

void SetObserver(Observer* observer) { S().observer = observer; }

uint32_t VirtualMs() {
    if (S().options.realtime) detail::Poll();
    return static_cast<uint32_t>(S().now);
}

const std::string& MixedAudio() { return S().mixed; }

void SetKey(int code, bool down) {
    if (code < 0 || code > 255) return;
    S().keys[code] = down ? 0x80 : 0;
}

void AddMouseMotion(int32_t dx, int32_t dy) {
    if (!S().mouseCaptured) return;
    // Saturates: motion piled up over a long unread stretch must not wrap.
    auto add = [](int32_t total, int32_t motion) {
        return static_cast<int32_t>(
            std::clamp<int64_t>(static_cast<int64_t>(total) + motion, INT32_MIN, INT32_MAX));
    };
    S().mouseX = add(S().mouseX, dx);
    S().mouseY = add(S().mouseY, dy);
}

void SetButton(int button, bool down) {
    if (button < 0 || button > 3) return;
    S().buttons[button] = down ? 0x80 : 0;
}

namespace {
detail::Pad* PadAt(int pad) {
    return pad >= 0 && pad < platform::MaxPads ? &S().pads[pad] : nullptr;
}
}  // namespace

void SetPadConnected(int pad, bool connected) {
    detail::Pad* p = PadAt(pad);
    if (p == nullptr) return;
    *p = detail::Pad{};
    p->connected = connected;
}

void SetPadButton(int pad, platform::PadButton button, bool down) {
    detail::Pad* p = PadAt(pad);
    const int index = static_cast<int>(button);
    if (p == nullptr || !p->connected || index >= static_cast<int>(platform::PadButton::Count)) {
        return;
    }
    p->buttons[index] = down ? 0x80 : 0;
}

void SetPadAxis(int pad, platform::PadAxis axis, int16_t value) {
    detail::Pad* p = PadAt(pad);
    const int index = static_cast<int>(axis);
    if (p == nullptr || !p->connected || index >= static_cast<int>(platform::PadAxis::Count)) {
        return;
    }
    p->axes[index] = value;
}

}  // namespace headless
