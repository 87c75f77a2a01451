// The start-up and release sequences.
#pragma once

#include <cstdint>

// Set from the command line for players who have seen them: the pauses on
// the two logos and on the credits are left out. Off, the flow is as designed.
extern bool SkipIntro;

// A pause that SkipIntro leaves out.
void SkippablePause(uint32_t ms);

// The first part of GameInit: pictures, sounds, input devices and key
// bindings, everything up before the logos show.
void LoadSubsystems();
int32_t GameInit();
int32_t GameShutdown();
