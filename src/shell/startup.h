// The start-up and release sequences.
#pragma once

#include <cstdint>

// The first part of GameInit: pictures, sounds, input devices and key
// bindings, everything up before the logos show.
void LoadSubsystems();
// The colours the menu and the matches show in (the ball picture's).
void UseMatchColours();
// The start before the menu: everything loaded, the two logos shown.
void GameIntro();
// GameIntro, then the main menu.
int32_t GameInit();
int32_t GameShutdown();
