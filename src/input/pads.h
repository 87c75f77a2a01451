// Gamepads, played through the keyboard and mouse records: a pad presses the
// keys, moves the mouse or clicks its button as a player at the keyboard and
// mouse would, so the rules of play never see a pad. What a pad does depends
// on the screen shown (ControlsInUse). Here: reading the pads, and the menu's
// buttons; in a match the pads stand in for the players, which the match's
// input step maps (match/match_input.h).
#pragma once

#include <cstdint>

#include "input/input.h"
#include "platform/platform.h"

// A stick must lean past this before it counts, so a worn pad at rest does not
// creep.
constexpr int32_t PadDeadZone = 8000;
// Pixels a frame the one-player paddle moves with the stick fully over.
constexpr int32_t PadMouseSpeed = 12;

// From now on the buttons held at this moment count only once released and
// pressed again (the screen changed).
void HoldPadButtonsBack();

constexpr uint32_t PadBit(platform::PadButton button) { return 1u << static_cast<int>(button); }

// The buttons (PadBit) of pad `index` that count as pressed now, its whole
// reading in `pad`; 0 for a pad that is not there.
uint32_t ReadPadButtons(int32_t index, platform::PadReading& pad);
// -1, 0 or +1: the d-pad first, else the left stick past the dead zone. A
// direction held into a new screen counts at once, as a held key does.
int32_t PadDirection(const platform::PadReading& pad);
// Stick tilt beyond the dead zone scales from 1 to PadMouseSpeed pixels, so a
// light touch places the paddle finely and a full tilt sweeps it; the d-pad
// is a full tilt.
int32_t PadMouseStep(const platform::PadReading& pad);

// On the menu, adds the keys the pads' buttons stand for to a fresh keyboard
// state.
void PressPadKeys(uint8_t keys[256]);
// A pad's Start during a match: the Escape of a pad player.
bool PadEscapeHeld();
