// The players' keys and the music setting, kept in keys.dat.
#pragma once

#include <cstdint>
#include <string>

// MusicOn; a damaged keys.dat may give any other byte, which means neither.
constexpr uint8_t MUSIC_OFF = 0;
constexpr uint8_t MUSIC_ON = 1;

// Key codes (see input/key_codes.h) of the two players' keys.
extern uint8_t Player1Left;  // bottom paddle
extern uint8_t Player1Right;
extern uint8_t Player2Left;  // top paddle
extern uint8_t Player2Right;
// Whether the match tune plays during matches.
extern uint8_t MusicOn;

// Where keys.dat is read and written: the working folder unless the start-up
// chose the player's own settings folder, which the first save makes.
extern std::string KeysFilePath;

void LoadKeyBindings();
void SaveKeyBindings();
