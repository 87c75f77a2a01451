// A match on the headless backend: the four sprites made the way the asset
// loader makes them, and small sounds loaded into the bank.
#pragma once

#include <cstdint>

#include "graphics/bob.h"
#include "support/headless_test.h"

using support::TextEvent;

class MatchTest : public support::HeadlessTest {
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
    // A frame as the game plays it: its input read from the machine first.
    static int32_t Frame();
};
