// The players' keys and the music setting, kept in keys.dat.
#pragma once

#include <cstdint>

extern uint8_t Player1Left;
extern uint8_t Player1Right;
extern uint8_t Player2Left;
extern uint8_t Player2Right;
extern uint8_t MusicOn;

void LoadKeyBindings();
void SaveKeyBindings();
int32_t RedefineKeys();
