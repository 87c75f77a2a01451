// A game brought up on the headless backend in a fresh copy of the data
// folder, with a recorder of what it draws, plays, sleeps and posts.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless.h"

namespace fe {

struct TextEvent {
    uint32_t ms;
    bool primary;
    int32_t x, y;
    std::string text;
    uint8_t index;
};

struct SoundEvent {
    uint32_t ms;
    bool play;
    std::string name;
    bool loop;
};

struct Recorder : headless::Observer {
    std::vector<TextEvent> texts;
    std::vector<SoundEvent> sounds;
    std::vector<uint32_t> sleeps;
    std::vector<std::vector<uint8_t>> palettes;
    std::vector<uint32_t> paletteTimes;
    // Called for every text, after it is recorded: lets a test look at the
    // world (keys.dat, variables) at that moment.
    std::function<void(const TextEvent&)> onText;

    void OnText(uint32_t ms, bool primary, int32_t x, int32_t y, const char* text,
                uint8_t index) override;
    void OnSound(uint32_t ms, bool play, const char* name, bool loop) override;
    void OnSleep(uint32_t, uint32_t sleepMs) override { sleeps.push_back(sleepMs); }
    void OnPalette(uint32_t ms, const uint8_t* entries) override;

    // The texts drawn at (x, y), in order.
    std::vector<TextEvent> TextsAt(int32_t x, int32_t y) const;
    bool Played(const std::string& name, bool loop) const;
    bool Stopped(const std::string& name) const;
    // How many texts, sounds and palette changes happened in [from, to).
    size_t EventsBetween(uint32_t from, uint32_t to) const;
};

// Makes a temporary folder holding a copy of the generated data, makes it
// the working directory, and gives it back on tear-down.
class DataFolder : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // An empty folder is enough for tests of keys.dat alone.
    virtual bool CopyData() const { return true; }

    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

// DataFolder plus the game's subsystems up (pictures, sounds, input, key
// bindings) on a headless backend driven by `script`, as GameInit leaves them
// before its logo screens. Call Start() in the test body.
class GameUp : public DataFolder {
protected:
    void Start(const std::string& script);
    void TearDown() override;

    Recorder recorder_;
    bool started_ = false;
};

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
// Whether a Destroy message is waiting in the queue (takes the queue's messages).
bool DestroyPosted();

}  // namespace fe
