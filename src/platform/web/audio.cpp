// Sound: the page's Web Audio node pulls the shared mixer's samples, at
// 11025 a second, on the page's one thread between the game's waits.
#include <emscripten.h>

#include "platform/common/mixer.h"
#include "platform/platform.h"

namespace platform {

namespace {
bool audioOpen = false;
}  // namespace

// Browsers allow sound only after the player's first click or key, which the
// page waits for before the game starts; a page without Web Audio runs silent.
EM_JS(int, volleen_audio_ready, (), { return Volleen.audioReady() ? 1 : 0; });

bool OpenAudio() {
    audioOpen = volleen_audio_ready() != 0;
    return audioOpen;
}

void CloseAudio() {
    mixer::StopAll();
    audioOpen = false;
}

SoundBuffer* CreateSoundBuffer(const uint8_t* samples, uint32_t count, const char* name) {
    return mixer::Create(samples, count, name);
}

bool PlaySoundBuffer(SoundBuffer* buffer, bool loop) { return mixer::Play(buffer, loop); }

void StopSoundBuffer(SoundBuffer* buffer) { mixer::Stop(buffer); }

void RewindSoundBuffer(SoundBuffer* buffer) { mixer::Rewind(buffer); }

void ReleaseSoundBuffer(SoundBuffer* buffer) { mixer::Release(buffer); }

}  // namespace platform

// Called by the page's audio node for each block it plays.
extern "C" EMSCRIPTEN_KEEPALIVE void volleen_mix(uint8_t* out, int count) {
    if (!platform::audioOpen || count <= 0) {
        for (int i = 0; i < count; ++i) out[i] = 128;
        return;
    }
    platform::mixer::Mix(out, static_cast<uint32_t>(count));
}
