// Gamepads, played through the keyboard and mouse records: a pad presses the
// keys, moves the mouse or clicks its button as a player at the keyboard and
// mouse would, so the rules of play never see a pad. What a pad does depends
// on the screen shown (ControlsInUse).
#pragma once

#include <cstdint>

#include "input/input.h"

// A stick must lean past this before it counts, so a worn pad at rest does not
// creep.
constexpr int32_t PadDeadZone = 8000;
// Pixels a frame the one-player paddle moves with the stick fully over.
constexpr int32_t PadMouseSpeed = 12;

// From now on the buttons held at this moment count only once released and
// pressed again (the screen changed).
void HoldPadButtonsBack();

// Adds the keys the pads hold to a fresh keyboard state.
void PressPadKeys(uint8_t keys[256]);
// Adds the first pad's motion and serve to a fresh mouse state.
void MovePadMouse(MouseStateRecord& mouse);
// A pad's Start during a match: the Escape of a pad player.
bool PadEscapeHeld();
