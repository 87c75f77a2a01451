// The browser's key identifiers (KeyboardEvent.code) and the PC keyboard's
// set-1 make codes (extended keys + 128) that the game and keys.dat count in.
#pragma once

#include <cstdint>

namespace platform::web {

struct KeyCodePair {
    const char* code;  // a KeyboardEvent.code
    uint8_t set1;
};

extern const KeyCodePair KeyCodeTable[];
extern const int KeyCodeTableSize;

}  // namespace platform::web
