// Sound: one audio device whose callback runs the shared mixer.
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include "platform/common/message_queue.h"
#include "platform/common/mixer.h"
#include "platform/platform.h"
#include "platform/sdl/state.h"

namespace platform {

using sdl::state;

namespace {

void SDLCALL FillAudio(void* /*userdata*/, Uint8* stream, int length) {
    mixer::Mix(stream, static_cast<uint32_t>(length));
}

// The callback runs on SDL's audio thread: the game thread changes the
// voices only while holding the device's lock.
class AudioLock {
public:
    AudioLock() {
        if (state.audio != 0) SDL_LockAudioDevice(state.audio);
    }
    ~AudioLock() {
        if (state.audio != 0) SDL_UnlockAudioDevice(state.audio);
    }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;
};

// The sound libraries under SDL print their own lines while they probe for a
// device (ALSA's several for a machine with no sound card). The game says in
// one line of its own that it runs silent, so their chatter is held back.
class QuietStderr {
public:
    QuietStderr() : saved_(dup(STDERR_FILENO)) {
        const int null = open("/dev/null", O_WRONLY);
        if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) close(null);
    }
    ~QuietStderr() {
        if (saved_ < 0) return;
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_;
};

}  // namespace

bool OpenAudio() {
    if (state.audio != 0) return true;
    QuietStderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = mixer::SampleRate;
    wanted.format = AUDIO_U8;
    wanted.channels = 1;
    wanted.samples = 512;
    wanted.callback = FillAudio;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts our 11025 Hz mono bytes to the device.
    state.audio = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    // Without a device the sound system stays up until the window closes:
    // shutting it down waits for its device watcher (up to a tenth of a
    // second), which here would hold back the first picture.
    if (state.audio == 0) return false;
    SDL_PauseAudioDevice(state.audio, 0);
    return true;
}

void CloseAudio() {
    if (state.audio == 0) return;
    {
        AudioLock lock;
        mixer::StopAll();
    }
    SDL_CloseAudioDevice(state.audio);
    state.audio = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

SoundBuffer* CreateSoundBuffer(const uint8_t* samples, uint32_t count, const char* name) {
    AudioLock lock;
    return mixer::Create(samples, count, name);
}

bool PlaySoundBuffer(SoundBuffer* buffer, bool loop) {
    // On the way out after a close request nothing new starts: the screens
    // passed through on the way would only be heard as clicks.
    if (queue::CloseRequested()) return mixer::IsKnown(buffer);
    AudioLock lock;
    return mixer::Play(buffer, loop);
}

void StopSoundBuffer(SoundBuffer* buffer) {
    AudioLock lock;
    mixer::Stop(buffer);
}

void RewindSoundBuffer(SoundBuffer* buffer) {
    AudioLock lock;
    mixer::Rewind(buffer);
}

void ReleaseSoundBuffer(SoundBuffer* buffer) {
    if (buffer == nullptr) return;
    AudioLock lock;
    mixer::Release(buffer);
}

}  // namespace platform
