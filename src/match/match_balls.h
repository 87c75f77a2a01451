// The balls' part of a frame of play: paddles, scoring lines, side walls.
#pragma once

// Tests and moves each ball in play; scores points and ends rallies and
// matches. False when a point ended the match (the end-of-match display has
// been shown); the remaining balls are then left as they are.
bool MoveBalls();
