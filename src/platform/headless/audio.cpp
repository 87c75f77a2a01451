// Sound headless: the shared mixer, each play and stop reported.
#include "platform/common/mixer.h"
#include "platform/headless/state.h"

namespace platform {

using headless::detail::Backend;

bool OpenAudio() { return true; }

void CloseAudio() { mixer::StopAll(); }

SoundBuffer* CreateSoundBuffer(const uint8_t* samples, uint32_t count, const char* name) {
    return mixer::Create(samples, count, name);
}

bool PlaySoundBuffer(SoundBuffer* buffer, bool loop) {
    if (buffer == nullptr || !mixer::IsKnown(buffer)) return false;
    // Time up to now is mixed with the old state before the voice changes.
    headless::detail::Sync();
    buffer->looping = loop;
    buffer->playing = true;
    headless::detail::Tell({.kind = headless::ReportKind::Sound,
                            .text = buffer->name.c_str(),
                            .play = true,
                            .loop = loop});
    return true;
}

void StopSoundBuffer(SoundBuffer* buffer) {
    if (buffer == nullptr || !mixer::IsKnown(buffer)) return;
    headless::detail::Sync();
    const bool wasPlaying = buffer->playing;
    buffer->playing = false;
    if (wasPlaying) {
        headless::detail::Tell({.kind = headless::ReportKind::Sound,
                                .text = buffer->name.c_str(),
                                .loop = buffer->looping});
    }
}

void RewindSoundBuffer(SoundBuffer* buffer) { mixer::Rewind(buffer); }

void ReleaseSoundBuffer(SoundBuffer* buffer) {
    if (buffer == nullptr) return;
    mixer::Release(buffer);
}

}  // namespace platform
