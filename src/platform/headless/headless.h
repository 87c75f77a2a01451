// What the headless backend offers its runner (tools/headless) and the tests:
// virtual time, scripted input and an observer that sees everything the game
// does to the screen, the speakers and the clock.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace headless {

// One thing the game did to the screen, the speakers or the clock, as the
// observer hears of it. Only the fields of its kind are set.
enum class ReportKind { Flip, Text, Sound, Palette, Sleep, Shot, Until };
struct Report {
    ReportKind kind;
    uint32_t ms = 0;       // virtual time
    uint32_t number = 0;   // Flip: the flip count; Sleep: its length in ms
    bool primary = false;  // Text: onto the visible surface, not the back buffer
    int32_t x = 0;         // Text: where it starts
    int32_t y = 0;
    const char* text = "";             // Text: the words; Sound: the file; Shot: the name
    uint8_t index = 0;                 // Text: the palette entry
    bool play = false;                 // Sound: started (false: a playing sound stopped)
    bool loop = false;                 // Sound: looping
    const uint8_t* palette = nullptr;  // Palette, Shot: the 1024 bytes in force
    const uint8_t* pixels = nullptr;   // Shot: width x height indices, rows back to back
    int32_t width = 0;                 // Shot
    int32_t height = 0;
};

// Receives what happened, in order. Until (virtual time reached the --until
// limit) comes last: the runner ends the process there.
class Observer {
public:
    virtual ~Observer() = default;
    virtual void OnReport(const Report& report) = 0;
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
// How often the picture would have been put on a screen since Configure, by
// the show rule every backend follows (platform/common/show.h).
uint32_t PresentCount();

// Everything the mixer produced so far (8-bit unsigned mono, 11025 Hz) when
// mixAudio is on.
const std::string& MixedAudio();

// Direct control for unit tests: hold or release a key, add mouse motion,
// press a button, plug a pad in or out, press its buttons and tilt its axes,
// as a script line would. Motion made while the game has released the mouse
// is lost, as it is in the window. A pad unplugged forgets its state. A change
// to a pad is seen by the next read, as if the game had waited for it.
void SetKey(int code, bool down);
void AddMouseMotion(int32_t dx, int32_t dy);
void SetButton(int button, bool down);
void SetPadConnected(int pad, bool connected);
void SetPadButton(int pad, platform::PadButton button, bool down);
void SetPadAxis(int pad, platform::PadAxis axis, int16_t value);

}  // namespace headless
