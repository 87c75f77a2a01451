// What the headless backend offers its runner (tools/headless) and the tests:
// virtual time, scripted input and an observer that sees everything the game
// does to the screen, the speakers and the clock.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace headless {

// Receives what happened, in order. Every callback gets the virtual time in ms.
class Observer {
public:
    virtual ~Observer() = default;
    virtual void OnFlip(uint32_t /*ms*/, uint32_t /*flipCount*/) {}
    // `primary` is true when the text went onto the visible surface.
    virtual void OnText(uint32_t /*ms*/, bool /*primary*/, int32_t /*x*/, int32_t /*y*/,
                        const char* /*text*/, uint8_t /*index*/) {}
    // `play` false means a playing sound was stopped.
    virtual void OnSound(uint32_t /*ms*/, bool /*play*/, const char* /*name*/, bool /*loop*/) {}
    virtual void OnPalette(uint32_t /*ms*/, const uint8_t* /*entries1024*/) {}
    virtual void OnSleep(uint32_t /*ms*/, uint32_t /*sleepMs*/) {}
    // A script line `shot <name>`: the visible screen (width x height indices,
    // rows back to back) and the palette in force.
    virtual void OnShot(uint32_t /*ms*/, const std::string& /*name*/, const uint8_t* /*pixels*/,
                        int32_t /*width*/, int32_t /*height*/, const uint8_t* /*palette1024*/) {}
    // Virtual time reached the --until limit. The runner ends the process here.
    virtual void OnUntil(uint32_t /*ms*/) {}
};

struct Options {
    std::string scriptText;      // the script's lines (not a file name)
    uint32_t startTick = 0;      // the tick count the game sees at virtual 0
    int64_t epoch = 1700000000;  // calendar seconds at virtual 0
    int64_t untilMs = -1;        // -1: no limit
    bool realtime = false;       // real clock and real sleeps
    bool mixAudio = false;       // keep the mixed output (for --audio-out)
};

// Resets the backend to virtual time 0 with these options and parses the
// script. On a bad line returns false with a message naming the line.
// Everything goes back to the start: the message queue, keys, mouse, the
// observer (set it again afterwards), the display (its surfaces are released)
// and the voices (stopped and rewound; the buffers themselves stay).
bool Configure(const Options& options, std::string* error);
void SetObserver(Observer* observer);

// Virtual (or, with realtime, real elapsed) milliseconds since Configure.
uint32_t VirtualMs();

// Everything the mixer produced so far (8-bit unsigned mono, 11025 Hz) when
// mixAudio is on.
const std::string& MixedAudio();

// Direct control for unit tests: hold or release a key, add mouse motion,
// press a button, plug a pad in or out, press its buttons and tilt its axes,
// as a script line would. Motion made while the game has released the mouse
// is lost, as it is in the window. A pad unplugged forgets its state.
void SetKey(int code, bool down);
void AddMouseMotion(int32_t dx, int32_t dy);
void SetButton(int button, bool down);
void SetPadConnected(int pad, bool connected);
void SetPadButton(int pad, platform::PadButton button, bool down);
void SetPadAxis(int pad, platform::PadAxis axis, int16_t value);

}  // namespace headless
