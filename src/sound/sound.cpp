#include "sound/sound.h"

#include <cstdio>
#include <cstring>

#include "sound/wave_file.h"

SoundBankRecord SoundBank;

bool SoundFirstInit = true;
char SoundFailure[200] = "";

int32_t BoingSoundId = -1;
int32_t BuzzerSoundId = -1;
int32_t SpikeSoundId = -1;
int32_t FireSoundId = -1;
int32_t SplitSoundId = -1;
int32_t MenuSoundId = -1;
int32_t MusicSoundId = -1;

namespace {

// The buffer of a sound id, or null: ids outside the bank hold nothing.
platform::SoundBuffer* BufferOf(int32_t id) {
    if (id < 0 || id >= SOUND_SLOTS) return nullptr;
    return SoundBank.slots[id].buffer;
}

// Every buffer plays 8-bit mono samples at 11025 a second; a file in any
// other shape would play as noise or at the wrong speed, so it is refused
// with SoundFailure saying what it is.
bool Playable(const WaveFile& wave) {
    if (wave.bitsPerSample == 8 && wave.channels == 1 && wave.samplesPerSecond == 11025) {
        return true;
    }
    char channels[24];
    if (wave.channels == 1) {
        std::snprintf(channels, sizeof channels, "mono");
    } else if (wave.channels == 2) {
        std::snprintf(channels, sizeof channels, "stereo");
    } else {
        std::snprintf(channels, sizeof channels, "%u channels", static_cast<unsigned>(wave.channels));
    }
    std::snprintf(SoundFailure, sizeof SoundFailure,
                  "it is %u-bit %s at %u Hz; the game plays 8-bit mono at 11025 Hz",
                  static_cast<unsigned>(wave.bitsPerSample), channels,
                  static_cast<unsigned>(wave.samplesPerSecond));
    return false;
}

}  // namespace

int32_t SoundInit() {
    if (SoundFirstInit) {
        SoundFirstInit = false;
        std::memset(SoundBank.slots, 0, sizeof SoundBank.slots);
        SoundBank.device = platform::OpenAudio();
        if (!SoundBank.device) {
            std::fprintf(stderr, "volleen: no sound device: the game runs silent\n");
            return 0;
        }
    }
    for (int32_t i = 0; i < SOUND_SLOTS; i++) {
        SoundSlot& slot = SoundBank.slots[i];
        if (slot.buffer != nullptr) {
            platform::StopSoundBuffer(slot.buffer);
            platform::ReleaseSoundBuffer(slot.buffer);
        }
        slot = SoundSlot{};
        slot.id = i;
    }
    return 1;
}

int32_t LoadSound(const char* name, uint32_t flags) {
    // The buffer flags only ever asked for controls the game never uses; the
    // platform's buffers have one fixed format whatever they say.
    (void)flags;
    int32_t slotNumber = -1;
    for (int32_t i = 0; i < SOUND_SLOTS; i++) {
        if (SoundBank.slots[i].state == SOUND_SLOT_FREE) {
            slotNumber = i;
            break;
        }
    }
    if (slotNumber < 0) {
        std::snprintf(SoundFailure, sizeof SoundFailure, "all %d sound slots are taken",
                      SOUND_SLOTS);
        return -1;
    }
    if (!SoundBank.device) {
        std::snprintf(SoundFailure, sizeof SoundFailure, "there is no sound device");
        return -1;
    }
    WaveFile wave{};
    if (!ReadWaveFile(name, &wave)) {
        std::snprintf(SoundFailure, sizeof SoundFailure, "%s", WaveFailure);
        return -1;
    }
    if (!Playable(wave)) return -1;
    if (wave.missingBytes != 0) {
        std::fprintf(stderr,
                     "volleen: sound %s is cut short: %u of its %zu bytes are missing and play "
                     "as silence\n",
                     name, static_cast<unsigned>(wave.missingBytes), wave.data.size());
    }
    platform::SoundBuffer* buffer = platform::CreateSoundBuffer(
        wave.data.data(), static_cast<uint32_t>(wave.data.size()), name);
    if (buffer == nullptr) {
        std::snprintf(SoundFailure, sizeof SoundFailure, "the platform refused its buffer");
        return -1;
    }
    // Marked loaded only once the buffer exists, so a refused buffer does not
    // take a slot that holds nothing.
    SoundSlot& slot = SoundBank.slots[slotNumber];
    slot.buffer = buffer;
    slot.rate = static_cast<int32_t>(wave.samplesPerSecond);
    slot.size = static_cast<int32_t>(wave.data.size());
    slot.state = SOUND_SLOT_LOADED;
    SoundFailure[0] = 0;
    return slotNumber;
}

int32_t LoadGameSounds() {
    struct GameSound {
        int32_t* id;
        const char* file;
    };
    static const GameSound sounds[] = {
        {&BoingSoundId, "BOING.WAV"}, {&BuzzerSoundId, "BUZZER.WAV"}, {&SpikeSoundId, "SPIKE.WAV"},
        {&FireSoundId, "FIRE.WAV"},   {&SplitSoundId, "SPLIT.WAV"},   {&MenuSoundId, "MENU.WAV"},
        {&MusicSoundId, "MUSIC.WAV"},
    };
    SoundInit();
    for (const GameSound& sound : sounds) {
        *sound.id = LoadSound(sound.file, 224);
        // Without a device SoundInit has said so once; one line per file
        // would only repeat it.
        if (*sound.id < 0 && SoundBank.device) {
            std::fprintf(stderr, "volleen: sound %s not loaded: %s\n", sound.file, SoundFailure);
        }
    }
    return 1;
}

int32_t PlaySound(int32_t id, int32_t loop) {
    platform::SoundBuffer* buffer = BufferOf(id);
    if (buffer == nullptr) return 1;
    // Always from the first sample: a sound already playing starts again.
    platform::RewindSoundBuffer(buffer);
    return platform::PlaySoundBuffer(buffer, loop != 0) ? 1 : 0;
}

int32_t StopSound(int32_t id) {
    platform::SoundBuffer* buffer = BufferOf(id);
    if (buffer != nullptr) {
        platform::StopSoundBuffer(buffer);
        platform::RewindSoundBuffer(buffer);
    }
    return 1;
}

int32_t StopAllSounds() {
    for (int32_t i = 0; i < SOUND_SLOTS; i++) StopSound(i);
    return 1;
}

int32_t SoundShutdown() {
    StopAllSounds();
    for (SoundSlot& slot : SoundBank.slots) {
        if (slot.buffer != nullptr) {
            platform::ReleaseSoundBuffer(slot.buffer);
            // Forgotten with it: a later play, stop or reset must not reach a
            // released buffer.
            slot.buffer = nullptr;
        }
    }
    if (SoundBank.device) {
        platform::CloseAudio();
        SoundBank.device = false;
    }
    return 1;
}
