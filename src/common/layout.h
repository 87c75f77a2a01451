// Where the game puts its words and how large its sprites are: shared by the
// game, the picture generator (which leaves room and colours for them), the
// benchmark and the tests.
#pragma once

#include <cstdint>

// Palette entries the game draws its words in; our pictures' palettes give
// them colours that read on their backgrounds.
constexpr uint8_t KEY_NAME_COLOUR = 138;    // menu key names and "On"
constexpr uint8_t LABEL_COLOUR = 144;       // "Loading..." and the key redefinition labels
constexpr uint8_t MUSIC_OFF_COLOUR = 162;   // "Off"
constexpr uint8_t PROMPT_COLOUR = 163;      // the serve prompt over the courts
constexpr uint8_t CAUGHT_KEY_COLOUR = 250;  // keys caught on the key redefinition screen

// The main menu's words, drawn over the title picture.
constexpr int32_t MENU_PLAYER1_X = 230;  // Player 1's key names
constexpr int32_t MENU_PLAYER2_X = 420;  // Player 2's
constexpr int32_t MENU_LEFT_KEY_Y = 287;
constexpr int32_t MENU_RIGHT_KEY_Y = 307;
constexpr int32_t MENU_MUSIC_X = 313;  // "On" or "Off"
constexpr int32_t MENU_MUSIC_Y = 428;

// Sprites, cut from BALL3D8BIG.BMP and PADDLES3D8.BMP.
constexpr int32_t BALL_SIZE = 11;
constexpr int32_t PADDLE1_WIDTH = 66;  // bottom
constexpr int32_t PADDLE2_WIDTH = 65;  // top: one pixel short
constexpr int32_t PADDLE_HEIGHT = 8;
