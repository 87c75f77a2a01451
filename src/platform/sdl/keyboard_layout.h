// The player's keyboard layout, as SDL's key-from-scan-code tells it: which
// key types a letter, and what a key prints.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>

namespace platform::sdl {

using KeyFromScancode = SDL_Keycode (*)(SDL_Scancode);

// The set-1 code of the key that types `letter` (a to z) by `keyOf`; the US
// key when no key does (a layout without Latin letters).
uint8_t LetterKeyIn(char letter, KeyFromScancode keyOf);
// The one printable character `keyOf` gives the key `set1` (letters upper
// case); false for a key that prints none.
bool KeyLabelIn(uint8_t set1, KeyFromScancode keyOf, char* buffer, size_t size);

}  // namespace platform::sdl
