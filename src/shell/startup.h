// The start-up and release sequences.
#pragma once

#include <cstdint>

// The first part of GameInit: pictures, sounds, input devices and key
// bindings, everything up before the logos show.
void LoadSubsystems();
int32_t GameInit();
int32_t GameShutdown();
