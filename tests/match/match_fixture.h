// A match on the headless backend: the four sprites made the way the asset
// loader makes them, small sounds loaded into the bank, and an observer that
// records what the game drew, played and slept.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/blitter.h"

struct TextEvent {
    bool primary;
    int32_t x;
    int32_t y;
    std::string text;
    uint8_t index;
};

struct SoundEvent {
    bool play;
    std::string name;  // the file's base name, e.g. "BOING.WAV"
    bool loop;
};

// Everything the observer saw, in order, as one line each, for order checks.
struct Recording {
    std::vector<TextEvent> texts;
    std::vector<SoundEvent> sounds;
    std::vector<uint32_t> sleeps;
    std::vector<std::string> log;
    uint32_t flips = 0;
    void Clear();
    int CountPlayed(const std::string& name) const;
    bool HasText(const std::string& text) const;
    const TextEvent* FindText(const std::string& prefix) const;
};

class MatchTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A ball in play at (x, y) with velocity (vx, vy); the other ball out.
    static void PlaceBall(Bob& ball, int32_t x, int32_t y, int32_t vx, int32_t vy);
    // A rally with Ball1 alone in play.
    static void StartRally(int32_t x, int32_t y, int32_t vx, int32_t vy);
    // Releases every key and button and drains pending mouse motion.
    static void ReleaseInput();
    // Moves virtual time to the start of the next calendar second whose first
    // draw after reseeding satisfies `wanted`, so a frame run now sees it.
    static void WaitForDraw(bool (*wanted)(int32_t draw));

    Recording seen;
};
