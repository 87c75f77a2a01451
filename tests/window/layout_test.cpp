// The player's layout in the window: the menu's letters and the names shown
// follow what the layout types on each key, where position and letter differ
// (French AZERTY) as where they agree (US).
#include <gtest/gtest.h>

#include <string>

#include "input/key_codes.h"
#include "input/key_names.h"
#include "platform/sdl/keyboard_layout.h"

namespace {

using platform::sdl::KeyLabelIn;
using platform::sdl::LetterKeyIn;

// SDL's own keymap before any layout is read: what a US keyboard types.
SDL_Keycode Us(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'a' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + (scancode - SDL_SCANCODE_1);
    switch (scancode) {
        case SDL_SCANCODE_0:
            return '0';
        case SDL_SCANCODE_MINUS:
            return '-';
        case SDL_SCANCODE_EQUALS:
            return '=';
        case SDL_SCANCODE_LEFTBRACKET:
            return '[';
        case SDL_SCANCODE_RIGHTBRACKET:
            return ']';
        case SDL_SCANCODE_BACKSLASH:
            return '\\';
        case SDL_SCANCODE_SEMICOLON:
            return ';';
        case SDL_SCANCODE_APOSTROPHE:
            return '\'';
        case SDL_SCANCODE_GRAVE:
            return '`';
        case SDL_SCANCODE_COMMA:
            return ',';
        case SDL_SCANCODE_PERIOD:
            return '.';
        case SDL_SCANCODE_SLASH:
            return '/';
        case SDL_SCANCODE_SPACE:
            return ' ';
        case SDL_SCANCODE_RETURN:
            return SDLK_RETURN;
        case SDL_SCANCODE_KP_MULTIPLY:
            return SDLK_KP_MULTIPLY;
        default:
            return SDLK_UNKNOWN;
    }
}

// AZERTY where it differs from US in letters: A and Q, Z and W change
// places, M sits where US has ";", and the US M key types ",".
SDL_Keycode French(SDL_Scancode scancode) {
    switch (scancode) {
        case SDL_SCANCODE_Q:
            return 'a';
        case SDL_SCANCODE_A:
            return 'q';
        case SDL_SCANCODE_W:
            return 'z';
        case SDL_SCANCODE_Z:
            return 'w';
        case SDL_SCANCODE_SEMICOLON:
            return 'm';
        case SDL_SCANCODE_M:
            return ',';
        case SDL_SCANCODE_1:
            return '&';
        default:
            return Us(scancode);
    }
}

std::string Label(uint8_t code, platform::sdl::KeyFromScancode layout) {
    char name[32] = "";
    return KeyLabelIn(code, layout, name, sizeof name) ? name : "(none)";
}

TEST(Layout, MenuLettersAreTheKeysThatTypeThemWherePositionAndLetterDiffer) {
    EXPECT_EQ(LetterKeyIn('m', French), 39);  // the key US calls ";"
    EXPECT_EQ(LetterKeyIn('q', French), DIK_A);
    EXPECT_EQ(LetterKeyIn('c', French), DIK_C);
    // Redefining with the keys labelled A Z Q M names them so, not "Q W A ;".
    EXPECT_EQ(Label(16, French) + Label(17, French) + Label(30, French) + Label(39, French),
              "AZQM");
    EXPECT_EQ(Label(DIK_M, French), ",");
    EXPECT_EQ(Label(DIK_1, French), "&");
    EXPECT_EQ(Label(DIK_SPACE, French), "(none)");
    EXPECT_EQ(Label(DIK_LEFT, French), "(none)");
}

TEST(Layout, AUsLayoutKeepsEveryKeyAndNameAsTheGameHasThem) {
    EXPECT_EQ(LetterKeyIn('c', Us), DIK_C);
    EXPECT_EQ(LetterKeyIn('m', Us), DIK_M);
    EXPECT_EQ(LetterKeyIn('q', Us), DIK_Q);
    // Every key the game names by one character prints that character (or
    // nothing, and keeps the game's name); the others keep their names.
    int printed = 0;
    for (const KeyNameRow& row : KeyNameTable) {
        if (row.text[1] != '\0') continue;
        const std::string label = Label(row.code, Us);
        if (label == "(none)") continue;
        EXPECT_EQ(label, row.text) << "key " << int(row.code);
        ++printed;
    }
    EXPECT_EQ(printed, 46);  // all but "*", the numpad key
}

// A layout without Latin letters still finds the menu's letters, on the US keys.
TEST(Layout, ALayoutWithoutTheLetterFallsBackToTheUsKey) {
    EXPECT_EQ(LetterKeyIn('m', [](SDL_Scancode) -> SDL_Keycode { return 0x43c; }), DIK_M);
}

}  // namespace
