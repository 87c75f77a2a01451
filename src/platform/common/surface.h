// The software surface shared by every backend.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/show.h"
#include "platform/platform.h"

namespace platform {

struct Surface {
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;            // bytes between rows, width rounded up to 4
    std::vector<uint8_t> pixels;  // pitch * height bytes
    bool locked = false;
    std::vector<Rect> clipList;  // empty: cut to the surface itself
    uint32_t generation = 0;     // bumped by every change of the pixels
};

// Marks the surface's pixels as changed (also at each lock, after which the
// holder may write any of them), and tells the show rule.
inline void Touch(Surface* surface) {
    ++surface->generation;
    show::SurfaceChanged(surface);
}

// The parts of the display that are the same in every backend: the two
// surfaces and the palette. The backends wrap these with presenting/tracing.
namespace display {
extern Surface* Primary;       // the visible surface
extern Surface* Back;          // the back buffer
extern uint8_t Palette[1024];  // red, green, blue, flags for each of the 256 entries
bool Open(int32_t width, int32_t height, std::string* why);
void Close();
// Exchanges the two surfaces' pixels; false while either is locked.
bool Exchange();
}  // namespace display

// Gives the reason for a failure to a caller that asked for it (`why` not null).
void SetWhy(std::string* why, const char* text);

}  // namespace platform
