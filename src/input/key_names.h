// The names of the keys that can be shown and bound.
#pragma once

#include <cstddef>
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

// Writes the key's name (cut to fit, zero-terminated) into `buffer` of `size`
// bytes; writes nothing for a code without a name. Only the low 8 bits count.
void KeyName(int32_t code, char* buffer, size_t size);
