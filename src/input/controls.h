// Which screen the player's controls serve. It decides whether the game holds
// the mouse (only while a match is on screen, so a player can reach other
// windows from every other screen) and what a gamepad does.
#pragma once

#include <cstdint>

enum class Controls : uint8_t {
    Still,  // logos, key redefinition, end of match, credits: pads do nothing
    Menu,   // the main menu: pad buttons are menu keys
    Match,  // a match on screen: pads play, the mouse is captured
};

extern Controls ControlsInUse;  // the screen now showing, as SetControls last said

// Captures or releases the mouse to suit `controls`. A pad button held when
// the screen changes acts on the new screen only once released and pressed
// again, so the press that left one screen does nothing on the next.
void SetControls(Controls controls);
