// Key names and waiting for a key that can be bound.
#pragma once

#include <cstdint>

#include "input/key_codes.h"

// One row of the key-name table: a scan code and the text shown for it.
struct KeyNameRow {
    uint8_t code;
    const char* text;
};

// The named keys, in ascending order of code. Only these can be shown or bound.
constexpr int32_t KEY_NAME_ROWS = 106;
extern const KeyNameRow KeyNameTable[KEY_NAME_ROWS];

// The last named key that CaptureKey saw held; 0 when none.
extern uint8_t NotedKey;

// Writes the key's name (and a terminating zero) at the start of `buffer`;
// writes nothing for a code without a name. Only the low 8 bits count.
void KeyName(int32_t code, char* buffer);
// Notes the highest-coded named key held in `keyState`.
void CaptureKey(const uint8_t* keyState);
// Waits until a named key other than Escape is held and returns its code;
// 0 when a close request comes first.
int32_t WaitForKey();
