// Keys are set-1 scan codes, extended keys with 128 added: the numbering of
// KeyState and of the key bindings file.
#pragma once

#include <cstdint>

constexpr uint8_t DIK_ESCAPE = 1;
constexpr uint8_t DIK_1 = 2;
constexpr uint8_t DIK_2 = 3;
constexpr uint8_t DIK_Q = 16;
constexpr uint8_t DIK_U = 22;
constexpr uint8_t DIK_A = 30;
constexpr uint8_t DIK_D = 32;
constexpr uint8_t DIK_C = 46;
constexpr uint8_t DIK_M = 50;
constexpr uint8_t DIK_SPACE = 57;
constexpr uint8_t DIK_PAUSE = 197;
constexpr uint8_t DIK_LEFT = 203;
constexpr uint8_t DIK_RIGHT = 205;
