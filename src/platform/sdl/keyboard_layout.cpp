#include "platform/sdl/keyboard_layout.h"

#include "platform/common/us_letters.h"
#include "platform/platform.h"
#include "platform/sdl/scancode_table.h"

namespace platform::sdl {

uint8_t LetterKeyIn(char letter, KeyFromScancode keyOf) {
    if (letter < 'a' || letter > 'z') return 0;
    for (int i = 0; i < ScancodeTableSize; ++i) {
        if (keyOf(static_cast<SDL_Scancode>(ScancodeTable[i].sdl)) == letter) {
            return ScancodeTable[i].set1;
        }
    }
    return UsLetterKey(letter);
}

bool KeyLabelIn(uint8_t set1, KeyFromScancode keyOf, char* buffer, size_t size) {
    const int scancode = ScancodeFromSet1(set1);
    if (scancode == SDL_SCANCODE_UNKNOWN || size < 2) return false;
    const SDL_Keycode key = keyOf(static_cast<SDL_Scancode>(scancode));
    if (key <= ' ' || key > '~') return false;
    buffer[0] = static_cast<char>(key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key);
    buffer[1] = '\0';
    return true;
}

}  // namespace platform::sdl
