// The headless backend's own state, shared by its files (not for the game).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/pad_samples.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace headless::detail {

enum class EventKind { Key, Mouse, Button, Close, Shot, PadPlug, PadButton, PadAxis, Focus };

struct ScriptEvent {
    uint64_t ms = 0;
    EventKind kind = EventKind::Key;
    int32_t which = 0;       // the key code, the mouse button or the pad
    int32_t dx = 0, dy = 0;  // the mouse's motion
    int32_t control = 0;     // the pad's button or axis
    int32_t value = 0;       // where the pad's axis stands
    bool down = false;       // the key or button held; the pad plugged in; focus out
    std::string name;        // the shot's file name
};

struct Pad {
    bool connected = false;
    uint8_t buttons[static_cast<int>(platform::PadButton::Count)] = {};
    int16_t axes[static_cast<int>(platform::PadAxis::Count)] = {};
};

struct State {
    Options options;
    Observer* observer = nullptr;
    std::vector<ScriptEvent> events;
    size_t nextEvent = 0;

    uint64_t now = 0;  // ms since Configure
    std::chrono::steady_clock::time_point realStart;
    uint32_t pollsWithoutTime = 0;
    bool untilReached = false;

    uint8_t keys[256] = {};
    // Pressed since the last read: a tap between two reads still counts once.
    uint8_t tappedKeys[256] = {};
    bool escapeTapped = false;
    uint8_t tappedButtons[4] = {};
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    uint8_t buttons[4] = {};
    bool mouseCaptured = false;
    bool away = false;  // the script took the focus away
    Pad pads[platform::MaxPads];
    platform::PadSamples padSamples;  // what the game reads of `pads`

    uint32_t flipCount = 0;
    uint32_t presentCount = 0;

    uint64_t samplesMixed = 0;
    std::string mixed;
    std::vector<uint8_t> mixScratch;
};

// The backend's one state: virtual time, the script, input, what was mixed.
State& Backend();
// Tells the observer, if there is one, stamped with the virtual time now.
void Tell(Report report);

// Reads the script; on a bad line false with "script line N: ..." in `error`.
bool ParseScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error);

// Brings virtual time up to `ms` (never back), applying script events, mixing
// sound and reporting the --until limit on the way.
void AdvanceTo(uint64_t ms);
// Called by everything the game can spin on (ticks, keys, mouse, messages):
// applies due events, follows the real clock in realtime mode, and moves a
// loop that never idles forward by 1 ms every 1000 polls so it cannot hang.
void Poll();
// Catches up with the real clock in realtime mode; nothing otherwise.
void Sync();
// Blocks for `ms`: virtual time moves on at once, or real time passes.
void Wait(uint64_t ms);

}  // namespace headless::detail
