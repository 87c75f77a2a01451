// Pad readings that hold still between two waits and keep short taps.
//
// The game looks at the pads several times between two waits: a match frame
// reads Start for Escape, then the players' buttons and directions, and a
// change of screen reads what is held. So that all of those agree, the pads
// are sampled at the first read after the game waited and every read until
// it waits again gets that sample. A sample shows as held every button
// pressed since the sample before it, so a tap shorter than a frame counts
// in one frame, for every reader of it.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/platform.h"

namespace platform {

struct PadSamples {
    PadReading taken[MaxPads] = {};
    uint32_t pressed[MaxPads] = {};  // buttons gone down since the last sample
    bool fresh = false;              // sampled since the game last waited

    // A button went down (an event, a script line, the page's watch).
    void Press(int32_t pad, int32_t button) {
        if (pad < 0 || pad >= MaxPads || button < 0) return;
        if (button >= static_cast<int32_t>(PadButton::Count)) return;
        pressed[pad] |= 1u << button;
    }
    // The pad was pulled out: what it pressed goes with it.
    void Forget(int32_t pad) {
        if (pad >= 0 && pad < MaxPads) pressed[pad] = 0;
    }
    // The game waits: the next read takes a new sample.
    void EndStep() { fresh = false; }

    // The sample of pad `index`, taking one of every pad first when the game
    // has waited since the last; `readNow(index, reading)` fills in what a
    // pad holds at this moment and says whether it is there.
    template <typename ReadNow>
    bool Read(int32_t index, PadReading& reading, ReadNow readNow) {
        std::memset(&reading, 0, sizeof reading);
        if (index < 0 || index >= MaxPads) return false;
        if (!fresh) {
            fresh = true;
            for (int32_t pad = 0; pad < MaxPads; ++pad) {
                PadReading& sample = taken[pad];
                std::memset(&sample, 0, sizeof sample);
                if (readNow(pad, sample)) {
                    sample.connected = true;
                    for (int i = 0; i < static_cast<int>(PadButton::Count); ++i) {
                        if ((pressed[pad] >> i & 1u) != 0) sample.buttons[i] = 0x80;
                    }
                } else {
                    std::memset(&sample, 0, sizeof sample);
                }
                pressed[pad] = 0;
            }
        }
        reading = taken[index];
        return reading.connected;
    }
};

}  // namespace platform
