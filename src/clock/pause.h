// The fixed pauses of the still screens that a returning player may skip.
#pragma once

#include <cstdint>

// Set from the command line for players who have seen them: the pauses on
// the two logos and on the credits are left out. Off, the flow is as designed.
extern bool SkipIntro;

// A pause that SkipIntro leaves out.
void SkippablePause(uint32_t ms);
