// Waiting for a key that can be bound.
#pragma once

#include <cstdint>

// The last named key that CaptureKey saw held; 0 when none.
extern uint8_t NotedKey;

// Notes the highest-coded named key held in `keyState`.
void CaptureKey(const uint8_t* keyState);
// Waits until a named key other than Escape is held and returns its code;
// 0 when a close request comes first.
int32_t WaitForKey();
