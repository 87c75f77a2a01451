// The software mixer: plain code, no locking (the SDL backend holds its audio
// device lock around every call).
#include "platform/common/mixer.h"

#include <algorithm>
#include <memory>
#include <new>

namespace platform::mixer {

namespace {

std::vector<std::unique_ptr<SoundBuffer>>& Voices() {
    static std::vector<std::unique_ptr<SoundBuffer>> voices;
    return voices;
}

// Adds one voice's next `count` samples (centred on 0) into `sum`.
void MixVoice(SoundBuffer& voice, int32_t* sum, uint32_t count) {
    const uint32_t size = static_cast<uint32_t>(voice.samples.size());
    uint32_t done = 0;
    while (done < count) {
        if (voice.position >= size) {
            if (!voice.looping || size == 0) {
                voice.playing = false;
                voice.position = size;
                return;
            }
            voice.position = 0;
        }
        const uint32_t run = std::min(count - done, size - voice.position);
        const uint8_t* from = voice.samples.data() + voice.position;
        for (uint32_t i = 0; i < run; ++i) sum[done + i] += static_cast<int32_t>(from[i]) - 128;
        voice.position += run;
        done += run;
    }
    // A one-shot voice that has just played its last sample is over now, not
    // one call later.
    if (voice.position >= size && !voice.looping) voice.playing = false;
}

}  // namespace

void Mix(uint8_t* out, uint32_t count) {
    constexpr uint32_t Chunk = 1024;
    int32_t sum[Chunk];
    for (uint32_t start = 0; start < count; start += Chunk) {
        const uint32_t n = std::min(Chunk, count - start);
        std::fill(sum, sum + n, 0);
        for (auto& voice : Voices()) {
            if (voice->playing) MixVoice(*voice, sum, n);
        }
        for (uint32_t i = 0; i < n; ++i) {
            out[start + i] = static_cast<uint8_t>(std::clamp(sum[i] + 128, 0, 255));
        }
    }
}

SoundBuffer* Create(const uint8_t* samples, uint32_t count, const char* name) {
    if (samples == nullptr && count > 0) return nullptr;
    try {
        auto buffer = std::make_unique<SoundBuffer>();
        buffer->samples.assign(samples, samples + count);
        buffer->name = name ? name : "";
        Voices().push_back(std::move(buffer));
        return Voices().back().get();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void Release(SoundBuffer* buffer) {
    auto& voices = Voices();
    auto it = std::find_if(voices.begin(), voices.end(),
                           [buffer](const auto& voice) { return voice.get() == buffer; });
    if (it != voices.end()) voices.erase(it);
}

void ReleaseAll() { Voices().clear(); }

void StopAll() {
    for (auto& voice : Voices()) {
        voice->playing = false;
        voice->position = 0;
    }
}

bool IsKnown(const SoundBuffer* buffer) {
    for (const auto& voice : Voices()) {
        if (voice.get() == buffer) return true;
    }
    return false;
}

bool Play(SoundBuffer* buffer, bool loop) {
    if (buffer == nullptr || !IsKnown(buffer)) return false;
    buffer->looping = loop;
    buffer->playing = true;
    return true;
}

bool Stop(SoundBuffer* buffer) {
    if (buffer == nullptr || !IsKnown(buffer)) return false;
    buffer->playing = false;
    return true;
}

bool Rewind(SoundBuffer* buffer) {
    if (buffer == nullptr || !IsKnown(buffer)) return false;
    buffer->position = 0;
    return true;
}

}  // namespace platform::mixer
