// The software mixer shared by both backends: every sound buffer is one voice
// of 8-bit unsigned mono samples at 11025 Hz; the playing voices are summed
// with clipping.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

struct SoundBuffer {
    std::vector<uint8_t> samples;
    std::string name;
    uint32_t position = 0;  // next sample to play
    bool playing = false;
    bool looping = false;
};

namespace mixer {

constexpr int SampleRate = 11025;

// Fills `out` with `count` mixed samples (8-bit unsigned, silence 128) and
// advances every playing voice; a one-shot voice stops at its end, a looping
// one wraps to its first sample.
void Mix(uint8_t* out, uint32_t count);

// The voices the mixer knows: Create registers, Release forgets.
SoundBuffer* Create(const uint8_t* samples, uint32_t count, const char* name);
void Release(SoundBuffer* buffer);
void ReleaseAll();
// Stops every voice and moves it back to its first sample; the buffers stay.
void StopAll();
// Whether `buffer` is a voice the mixer holds (false after its Release).
bool IsKnown(const SoundBuffer* buffer);
// A voice the mixer holds starts (from where it stands) or stops, or goes
// back to its first sample; false, and nothing done, for any other buffer.
bool Play(SoundBuffer* buffer, bool loop);
bool Stop(SoundBuffer* buffer);
bool Rewind(SoundBuffer* buffer);

}  // namespace mixer
}  // namespace platform
