// Key names and waiting for a key that can be bound.
#pragma once

#include <cstdint>

// Writes the key's name (and a terminating zero) at the start of `buffer`;
// writes nothing for a code without a name. Only the low 8 bits count.
void KeyName(int32_t code, char* buffer);
// Notes the highest-coded named key held in `keyState`.
void CaptureKey(const uint8_t* keyState);
// Waits until a named key other than Escape is held and returns its code.
int32_t WaitForKey();
