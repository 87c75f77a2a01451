// The input a frame of play reads: what the players did, as the rules see it.
// The shell fills FrameInput before each frame, from the machine (the
// keyboard, the mouse and the pads standing in for the players), or from a
// replay or the other side of an online match; the rules never know which.
#pragma once

#include <cstdint>

// MatchInput::held
constexpr uint8_t INPUT_P1_LEFT = 0x01;      // Player 1's left key (two players)
constexpr uint8_t INPUT_P1_RIGHT = 0x02;     // Player 1's right key
constexpr uint8_t INPUT_P2_LEFT = 0x04;      // Player 2's left key
constexpr uint8_t INPUT_P2_RIGHT = 0x08;     // Player 2's right key
constexpr uint8_t INPUT_SERVE = 0x10;        // the click (one player) or Space (two players)
constexpr uint8_t INPUT_MATCH_POINT = 0x20;  // U, when it is none of the players' keys
constexpr uint8_t INPUT_ESCAPE = 0x40;       // leave for the menu; nothing else was read
constexpr uint8_t INPUT_ALL = 0x7F;

struct MatchInput {
    uint8_t held;    // INPUT_ bits
    int32_t mouseX;  // the mouse's x motion since the last frame (one player)
};

// What this frame's rules read.
extern MatchInput FrameInput;

// From the machine: Escape first; when it is not held, the players' keys and
// the mouse, with pad 1 holding the bottom player's keys and pad 2 the top
// player's (two players), or pad 1 moving and clicking the mouse (against the
// computer, where Player 1's keys and Space move and click it as well).
void ReadMatchInput();
// From the machine, the players only (the frame that follows the menu does
// not look at Escape again).
void ReadPlayersInput();

// Online each machine steers one side. From the machine: this player's keys,
// Player 1's of this keys.dat (or pad 1), and Space or the pad's A to serve,
// as ONLINE_ bits; the mouse is not used.
constexpr uint8_t ONLINE_LEFT = 0x01;
constexpr uint8_t ONLINE_RIGHT = 0x02;
constexpr uint8_t ONLINE_SERVE = 0x04;
constexpr uint8_t ONLINE_ALL = 0x07;
uint8_t ReadOwnSideInput();
// The frame's input from the two sides' ONLINE_ bits: each steers its own
// paddle, and serves only when the serve is its side's. Nothing else
// (U, Escape) comes from a side.
void SetSidesInput(uint8_t bottom, uint8_t top);
