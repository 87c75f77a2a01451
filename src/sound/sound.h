// The sound bank: 64 slots of preloaded sound buffers, played by id.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr int32_t SOUND_SLOTS = 64;

struct SoundSlot {
    platform::SoundBuffer* buffer;
    int32_t state;  // 0 free, 1 loaded
    int32_t rate;
    int32_t size;
    int32_t id;
};

struct SoundBankRecord {
    SoundSlot slots[SOUND_SLOTS];
    bool device;  // the sound device is open
};

extern SoundBankRecord SoundBank;

// Set at start; the first SoundInit clears it after opening the device and
// clearing the slots. Later calls only reset the slots.
extern bool SoundFirstInit;
// Why the last LoadSound failed, for messages.
extern char SoundFailure[200];

extern int32_t BoingSoundId;
extern int32_t BuzzerSoundId;
extern int32_t SpikeSoundId;
extern int32_t FireSoundId;
extern int32_t SplitSoundId;
extern int32_t MenuSoundId;
extern int32_t MusicSoundId;

int32_t SoundInit();
int32_t LoadSound(const char* name, uint32_t flags);
int32_t LoadGameSounds();
int32_t PlaySound(int32_t id, int32_t loop);
int32_t StopSound(int32_t id);
int32_t StopAllSounds();
int32_t SoundShutdown();
