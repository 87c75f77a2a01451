#include "sound/sound.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "sound/wave_file.h"

SoundBankRecord SoundBank;

bool SoundFirstInit = true;

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
// with `why` saying what it is.
int32_t Refuse(std::string* why, const std::string& text) {
    if (why != nullptr) *why = text;
    return -1;
}

bool Playable(const WaveFile& wave, std::string* why) {
    if (wave.bitsPerSample == 8 && wave.channels == 1 && wave.samplesPerSecond == 11025) {
        return true;
    }
    if (why == nullptr) return false;
    const std::string channels = wave.channels == 1   ? "mono"
                                 : wave.channels == 2 ? "stereo"
                                                      : std::to_string(wave.channels) + " channels";
    *why = "it is " + std::to_string(wave.bitsPerSample) + "-bit " + channels + " at " +
           std::to_string(wave.samplesPerSecond) + " Hz; the game plays 8-bit mono at 11025 Hz";
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

int32_t LoadSound(const char* name, uint32_t flags, std::string* why) {
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
    if (slotNumber < 0)
        return Refuse(why, "all " + std::to_string(SOUND_SLOTS) + " sound slots are taken");
    if (!SoundBank.device) return Refuse(why, "there is no sound device");
    WaveFile wave{};
    if (!ReadWaveFile(name, &wave, why) || !Playable(wave, why)) return -1;
    if (wave.missingBytes != 0) {
        std::fprintf(stderr,
                     "volleen: sound %s is cut short: %u of its %zu bytes are missing and play "
                     "as silence\n",
                     name, static_cast<unsigned>(wave.missingBytes), wave.data.size());
    }
    platform::SoundBuffer* buffer = platform::CreateSoundBuffer(
        wave.data.data(), static_cast<uint32_t>(wave.data.size()), name);
    if (buffer == nullptr) return Refuse(why, "the platform refused its buffer");
    // Marked loaded only once the buffer exists, so a refused buffer does not
    // take a slot that holds nothing.
    SoundSlot& slot = SoundBank.slots[slotNumber];
    slot.buffer = buffer;
    slot.rate = static_cast<int32_t>(wave.samplesPerSecond);
    slot.size = static_cast<int32_t>(wave.data.size());
    slot.state = SOUND_SLOT_LOADED;
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
        std::string why;
        *sound.id = LoadSound(sound.file, 224, &why);
        // Without a device SoundInit has said so once; one line per file
        // would only repeat it.
        if (*sound.id < 0 && SoundBank.device) {
            std::fprintf(stderr, "volleen: sound %s not loaded: %s\n", sound.file, why.c_str());
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
