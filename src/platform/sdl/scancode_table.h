// The one translation from SDL's scan codes (USB usage numbers) to the PC
// keyboard's set-1 make codes (extended keys + 128) that the game and its
// keys.dat count in.
#pragma once

#include <cstdint>

namespace platform::sdl {

struct ScancodePair {
    int sdl;       // an SDL_Scancode
    uint8_t set1;  // the set-1 code it stands for
};

extern const ScancodePair ScancodeTable[];
extern const int ScancodeTableSize;

// The set-1 code of an SDL scan code; 0 for a key with none.
uint8_t Set1FromScancode(int sdlScancode);
// The SDL scan code that gives this set-1 code; 0 (unknown) for none.
int ScancodeFromSet1(uint8_t set1);

}  // namespace platform::sdl
