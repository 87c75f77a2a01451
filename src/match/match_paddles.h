// The paddles' part of a frame of play: players' input, the computer
// opponent, and the limits of the court.
#pragma once

#include <cstdint>

constexpr int32_t PaddleStep = 7;  // keyboard and computer, pixels per frame

// Sets both paddles' direction for this frame and moves them by the keys
// (mode 2) or the mouse (mode 1); a ball resting for a serve rides along.
void MovePaddlesByInput();
// Mode 1 only: the top paddle steps towards its target ball.
void MoveComputerPaddle();
// Holds both paddles, and a resting ball, inside the court.
void KeepPaddlesInCourt();
