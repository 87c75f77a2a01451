// The sound bank: 64 slots of preloaded sound buffers, played by id.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

constexpr int32_t SOUND_SLOTS = 64;
// SoundSlot::state
constexpr int32_t SOUND_SLOT_FREE = 0;
constexpr int32_t SOUND_SLOT_LOADED = 1;

struct SoundSlot {
    platform::SoundBuffer* buffer;
    int32_t state;  // SOUND_SLOT_FREE or SOUND_SLOT_LOADED
    int32_t rate;
    int32_t size;
    int32_t id;
};

struct SoundBankRecord {
    SoundSlot slots[SOUND_SLOTS];
    bool device;  // the sound device is open
};

// Every loaded sound, by slot; a sound id is its slot number.
extern SoundBankRecord SoundBank;

// Set at start; the first SoundInit clears it after opening the device and
// clearing the slots. Later calls only reset the slots.
extern bool SoundFirstInit;

// The game's seven sounds: a slot number, or -1 when the sound failed to load
// (playing -1 plays nothing).
extern int32_t BoingSoundId;   // a ball off a paddle or a wall
extern int32_t BuzzerSoundId;  // a point
extern int32_t SpikeSoundId;   // the final scores
extern int32_t FireSoundId;    // each start-up logo
extern int32_t SplitSoundId;   // the ball splits in two
extern int32_t MenuSoundId;    // the menu tune, looped
extern int32_t MusicSoundId;   // the match tune, looped when music is on

int32_t SoundInit();
// The slot the sound went into; -1 when it was not loaded, with the reason
// in `why` (when not null) to print after the file's name.
int32_t LoadSound(const char* name, uint32_t flags, std::string* why = nullptr);
int32_t LoadGameSounds();
int32_t PlaySound(int32_t id, int32_t loop);
int32_t StopSound(int32_t id);
int32_t StopAllSounds();
int32_t SoundShutdown();
