// Which screen the player's controls serve. It decides whether the game holds
// the mouse: only while a match is on screen, so a player can reach other
// windows from every other screen.
#pragma once

#include <cstdint>

enum class Controls : uint8_t {
    Still,  // logos, key redefinition, end of match, credits
    Menu,   // the main menu
    Match,  // a match on screen: the mouse is captured
};

extern Controls ControlsInUse;

// Captures or releases the mouse to suit `controls`.
void SetControls(Controls controls);
