// Where each letter is on a US keyboard: the keys the game was made for.
#pragma once

#include <cstdint>

namespace platform {

// The set-1 code of the key that types `letter` (a to z) on a US layout; 0
// for anything else.
inline uint8_t UsLetterKey(char letter) {
    constexpr uint8_t Keys[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                  49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
    return letter >= 'a' && letter <= 'z' ? Keys[letter - 'a'] : 0;
}

}  // namespace platform
