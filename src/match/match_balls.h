// The balls' part of a frame of play: paddles, scoring lines, side walls.
#pragma once

// Tests and moves each ball in play; scores points and ends rallies and
// matches.
void MoveBalls();
