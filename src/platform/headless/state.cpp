// Virtual time, the script's events and the observer.
#include "platform/headless/state.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "platform/common/message_queue.h"
#include "platform/common/mixer.h"
#include "platform/common/net_wait.h"
#include "platform/common/show.h"
#include "platform/common/surface.h"

namespace headless::detail {

void Tell(Report report) {
    State& s = Backend();
    if (s.observer == nullptr) return;
    report.ms = static_cast<uint32_t>(s.now);
    s.observer->OnReport(report);
}

namespace {

// A loop that reads keys or ticks this many times without time moving is
// spinning; time is moved on for it.
constexpr uint32_t PollsPerForcedMs = 1000;

uint64_t RealElapsedMs() {
    const auto elapsed = std::chrono::steady_clock::now() - Backend().realStart;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void Shot(const std::string& name) {
    State& s = Backend();
    if (s.observer == nullptr) return;
    const platform::Surface* primary = platform::display::Primary;
    if (primary == nullptr) {
        // No display yet: the screen is black.
        std::vector<uint8_t> black(640 * 480, 0);
        Tell({.kind = ReportKind::Shot,
              .text = name.c_str(),
              .palette = platform::display::Palette,
              .pixels = black.data(),
              .width = 640,
              .height = 480});
        return;
    }
    std::vector<uint8_t> packed(static_cast<size_t>(primary->width) * primary->height);
    for (int32_t row = 0; row < primary->height; ++row) {
        std::memcpy(packed.data() + static_cast<size_t>(row) * primary->width,
                    primary->pixels.data() + static_cast<size_t>(row) * primary->pitch,
                    static_cast<size_t>(primary->width));
    }
    Tell({.kind = ReportKind::Shot,
          .text = name.c_str(),
          .palette = platform::display::Palette,
          .pixels = packed.data(),
          .width = primary->width,
          .height = primary->height});
}

void Apply(const ScriptEvent& event) {
    switch (event.kind) {
        case EventKind::Key:
            SetKey(event.which, event.down);
            break;
        case EventKind::Mouse:
            AddMouseMotion(event.dx, event.dy);
            break;
        case EventKind::Button:
            SetButton(event.which, event.down);
            break;
        case EventKind::Focus:
            Backend().away = event.down;
            break;
        case EventKind::Close:
            platform::PostMessage(platform::MessageKind::Close);
            break;
        case EventKind::Shot:
            Shot(event.name);
            break;
        case EventKind::PadPlug:
            SetPadConnected(event.which, event.down);
            break;
        case EventKind::PadButton:
            SetPadButton(event.which, static_cast<platform::PadButton>(event.control), event.down);
            break;
        case EventKind::PadAxis:
            SetPadAxis(event.which, static_cast<platform::PadAxis>(event.control),
                       static_cast<int16_t>(event.value));
            break;
    }
}

void ApplyDueEvents() {
    State& s = Backend();
    while (s.nextEvent < s.events.size() && s.events[s.nextEvent].ms <= s.now) {
        // Advance the cursor first: an observer may look at the state again.
        const ScriptEvent& event = s.events[s.nextEvent++];
        Apply(event);
    }
}

void CheckUntil() {
    State& s = Backend();
    if (s.untilReached || s.options.untilMs < 0) return;
    if (s.now < static_cast<uint64_t>(s.options.untilMs)) return;
    s.untilReached = true;
    Tell({.kind = ReportKind::Until});
}

// Mixes the sound of the virtual time up to `ms`. The sample count comes from
// the total so that no fraction of a sample is lost between steps. Voices run
// even when nobody keeps the output, so that a one-shot sound ends on time.
void MixTo(uint64_t ms) {
    State& s = Backend();
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

State& Backend() {
    static State state;
    return state;
}

void AdvanceTo(uint64_t ms) {
    State& s = Backend();
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
    State& s = Backend();
    if (s.options.realtime) {
        AdvanceTo(RealElapsedMs());
        return;
    }
    AdvanceTo(s.now);
    if (++s.pollsWithoutTime >= PollsPerForcedMs) AdvanceTo(s.now + 1);
}

void Sync() {
    if (Backend().options.realtime) AdvanceTo(RealElapsedMs());
}

void Wait(uint64_t ms) {
    State& s = Backend();
    const uint64_t target = s.now + ms;
    if (!s.options.realtime) {
        // Event by event, so that a close request ends the wait at its time.
        while (s.now < target && !platform::queue::CloseRequested()) {
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
        if (s.now >= target || platform::queue::CloseRequested()) break;
        const uint64_t slice = std::min<uint64_t>(target - s.now, 5);
        if (!platform::net_wait::SleepFor(slice * 1000)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(slice));
        }
    }
}

}  // namespace headless::detail

namespace headless {

using detail::Backend;

bool Configure(const Options& options, std::string* error) {
    detail::State& s = Backend();
    s.options = options;
    s.observer = nullptr;
    s.events.clear();
    s.nextEvent = 0;
    s.now = 0;
    s.realStart = std::chrono::steady_clock::now();
    s.pollsWithoutTime = 0;
    s.untilReached = false;
    platform::queue::Clear();
    std::memset(s.keys, 0, sizeof s.keys);
    std::memset(s.tappedKeys, 0, sizeof s.tappedKeys);
    s.escapeTapped = false;
    std::memset(s.tappedButtons, 0, sizeof s.tappedButtons);
    s.mouseX = 0;
    s.mouseY = 0;
    std::memset(s.buttons, 0, sizeof s.buttons);
    s.mouseCaptured = false;
    s.away = false;
    for (detail::Pad& pad : s.pads) pad = detail::Pad{};
    s.padSamples = platform::PadSamples{};
    s.flipCount = 0;
    s.presentCount = 0;
    platform::show::Reset();
    s.samplesMixed = 0;
    s.mixed.clear();
    // The buffers stay (the game may still hold them); they only fall silent.
    platform::mixer::StopAll();
    platform::display::Close();
    std::memset(platform::display::Palette, 0, sizeof platform::display::Palette);
    return detail::ParseScript(options.scriptText, &s.events, error);
}

void SetObserver(Observer* observer) { Backend().observer = observer; }

uint32_t PresentCount() { return detail::Backend().presentCount; }

uint32_t VirtualMs() {
    if (Backend().options.realtime) detail::Poll();
    return static_cast<uint32_t>(Backend().now);
}

const std::string& MixedAudio() { return Backend().mixed; }

void SetKey(int code, bool down) {
    if (code < 0 || code > 255) return;
    Backend().keys[code] = down ? 0x80 : 0;
    if (down) {
        Backend().tappedKeys[code] = 0x80;
        if (code == 1) Backend().escapeTapped = true;
    }
}

void AddMouseMotion(int32_t dx, int32_t dy) {
    if (!Backend().mouseCaptured) return;
    // Saturates: motion piled up over a long unread stretch must not wrap.
    auto add = [](int32_t total, int32_t motion) {
        return static_cast<int32_t>(
            std::clamp<int64_t>(static_cast<int64_t>(total) + motion, INT32_MIN, INT32_MAX));
    };
    Backend().mouseX = add(Backend().mouseX, dx);
    Backend().mouseY = add(Backend().mouseY, dy);
}

void SetButton(int button, bool down) {
    if (button < 0 || button > 3) return;
    Backend().buttons[button] = down ? 0x80 : 0;
    if (down) Backend().tappedButtons[button] = 0x80;
}

namespace {
detail::Pad* PadAt(int pad) {
    return pad >= 0 && pad < platform::MaxPads ? &Backend().pads[pad] : nullptr;
}
}  // namespace

void SetPadConnected(int pad, bool connected) {
    detail::Pad* p = PadAt(pad);
    if (p == nullptr) return;
    *p = detail::Pad{};
    p->connected = connected;
    Backend().padSamples.Forget(pad);
    Backend().padSamples.EndStep();
}

void SetPadButton(int pad, platform::PadButton button, bool down) {
    detail::Pad* p = PadAt(pad);
    const int index = static_cast<int>(button);
    if (p == nullptr || !p->connected || index >= static_cast<int>(platform::PadButton::Count)) {
        return;
    }
    p->buttons[index] = down ? 0x80 : 0;
    if (down) Backend().padSamples.Press(pad, index);
    Backend().padSamples.EndStep();
}

void SetPadAxis(int pad, platform::PadAxis axis, int16_t value) {
    detail::Pad* p = PadAt(pad);
    const int index = static_cast<int>(axis);
    if (p == nullptr || !p->connected || index >= static_cast<int>(platform::PadAxis::Count)) {
        return;
    }
    p->axes[index] = value;
    Backend().padSamples.EndStep();
}

}  // namespace headless
