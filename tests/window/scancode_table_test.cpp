// The translation from SDL scan codes to the set-1 codes that keys.dat and the
// game count in: every key the game can name must be reachable, and a key
// must always come out as the same code.
#include "platform/sdl/scancode_table.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "input/key_names.h"

namespace {

using platform::sdl::ScancodeFromSet1;
using platform::sdl::ScancodeTable;
using platform::sdl::ScancodeTableSize;
using platform::sdl::Set1FromScancode;

// The codes that have names: 1 to 83, F11 to F14, and the extended keys.
std::set<int> NamedCodes() {
    std::set<int> codes;
    for (int code = 1; code <= 83; ++code) codes.insert(code);
    for (int code : {87,  88,  100, 101, 156, 157, 179, 181, 183, 184, 199, 200,
                     201, 203, 205, 207, 208, 209, 210, 211, 219, 220, 221}) {
        codes.insert(code);
    }
    return codes;
}

TEST(ScancodeTable, ReachesEveryNamedCodeAndComesBack) {
    const std::set<int> named = NamedCodes();
    ASSERT_EQ(named.size(), 106u);
    for (int code : named) {
        const int sdl = ScancodeFromSet1(static_cast<uint8_t>(code));
        EXPECT_NE(sdl, SDL_SCANCODE_UNKNOWN) << "no key gives set-1 code " << code;
        EXPECT_EQ(Set1FromScancode(sdl), code) << "set-1 code " << code << " does not come back";
    }
}

TEST(ScancodeTable, AgreesWithTheGamesKeyNames) {
    // A key the game can name but never see could be shown yet never bound.
    const std::set<int> named = NamedCodes();
    for (int code = 0; code < 256; ++code) {
        char buffer[32];
        std::strcpy(buffer, "untouched");
        KeyName(code, buffer, sizeof buffer);
        const bool hasName = std::strcmp(buffer, "untouched") != 0;
        EXPECT_EQ(hasName, named.count(code) == 1) << "code " << code;
        if (hasName) {
            EXPECT_NE(ScancodeFromSet1(static_cast<uint8_t>(code)), 0) << code;
        }
    }
}

TEST(ScancodeTable, EachKeyHasOneCode) {
    std::map<int, int> seen;
    for (int i = 0; i < ScancodeTableSize; ++i) {
        const auto& pair = ScancodeTable[i];
        EXPECT_GT(pair.sdl, SDL_SCANCODE_UNKNOWN);
        EXPECT_LT(pair.sdl, SDL_NUM_SCANCODES);
        EXPECT_NE(pair.set1, 0);
        auto [it, fresh] = seen.emplace(pair.sdl, pair.set1);
        EXPECT_TRUE(fresh) << "SDL scan code " << pair.sdl << " listed twice";
        EXPECT_EQ(Set1FromScancode(pair.sdl), pair.set1);
    }
}

// The set-1 numbering follows the rows of the keyboard; SDL numbers letters
// alphabetically, so a slip in either shows here.
TEST(ScancodeTable, FollowsTheKeyboardRows) {
    const struct {
        const char* keys;
        int firstCode;
    } rows[] = {{"qwertyuiop", 16}, {"asdfghjkl", 30}, {"zxcvbnm", 44}};
    for (const auto& row : rows) {
        for (int i = 0; row.keys[i] != 0; ++i) {
            const int sdl = SDL_SCANCODE_A + (row.keys[i] - 'a');
            EXPECT_EQ(Set1FromScancode(sdl), row.firstCode + i) << row.keys[i];
        }
    }
    for (int digit = 1; digit <= 9; ++digit) {
        EXPECT_EQ(Set1FromScancode(SDL_SCANCODE_1 + digit - 1), digit + 1);
    }
    EXPECT_EQ(Set1FromScancode(SDL_SCANCODE_0), 11);
    for (int f = 0; f < 10; ++f) EXPECT_EQ(Set1FromScancode(SDL_SCANCODE_F1 + f), 59 + f);
}

TEST(ScancodeTable, ExtendedKeysAreApartFromTheirTwins) {
    // The keypad and the right-hand modifiers share a make code with another
    // key and differ only by the extended prefix (+128).
    const struct {
        int sdl;
        int code;
    } pairs[][2] = {
        {{SDL_SCANCODE_RETURN, 28}, {SDL_SCANCODE_KP_ENTER, 156}},
        {{SDL_SCANCODE_LCTRL, 29}, {SDL_SCANCODE_RCTRL, 157}},
        {{SDL_SCANCODE_LALT, 56}, {SDL_SCANCODE_RALT, 184}},
        {{SDL_SCANCODE_SLASH, 53}, {SDL_SCANCODE_KP_DIVIDE, 181}},
        {{SDL_SCANCODE_KP_7, 71}, {SDL_SCANCODE_HOME, 199}},
        {{SDL_SCANCODE_KP_8, 72}, {SDL_SCANCODE_UP, 200}},
        {{SDL_SCANCODE_KP_9, 73}, {SDL_SCANCODE_PAGEUP, 201}},
        {{SDL_SCANCODE_KP_4, 75}, {SDL_SCANCODE_LEFT, 203}},
        {{SDL_SCANCODE_KP_6, 77}, {SDL_SCANCODE_RIGHT, 205}},
        {{SDL_SCANCODE_KP_1, 79}, {SDL_SCANCODE_END, 207}},
        {{SDL_SCANCODE_KP_2, 80}, {SDL_SCANCODE_DOWN, 208}},
        {{SDL_SCANCODE_KP_3, 81}, {SDL_SCANCODE_PAGEDOWN, 209}},
        {{SDL_SCANCODE_KP_0, 82}, {SDL_SCANCODE_INSERT, 210}},
        {{SDL_SCANCODE_KP_PERIOD, 83}, {SDL_SCANCODE_DELETE, 211}},
        {{SDL_SCANCODE_KP_MULTIPLY, 55}, {SDL_SCANCODE_PRINTSCREEN, 183}},
    };
    for (const auto& twin : pairs) {
        EXPECT_EQ(Set1FromScancode(twin[0].sdl), twin[0].code);
        EXPECT_EQ(Set1FromScancode(twin[1].sdl), twin[1].code);
        EXPECT_EQ(twin[1].code, twin[0].code + 128);
    }
    EXPECT_EQ(Set1FromScancode(SDL_SCANCODE_LGUI), 219);
    EXPECT_EQ(Set1FromScancode(SDL_SCANCODE_RGUI), 220);
    EXPECT_EQ(Set1FromScancode(SDL_SCANCODE_APPLICATION), 221);
    EXPECT_EQ(Set1FromScancode(SDL_SCANCODE_KP_COMMA), 179);
    EXPECT_EQ(Set1FromScancode(SDL_SCANCODE_F13), 100);
    EXPECT_EQ(Set1FromScancode(SDL_SCANCODE_F14), 101);
}

TEST(ScancodeTable, UnknownKeysGiveNothing) {
    EXPECT_EQ(Set1FromScancode(-1), 0);
    EXPECT_EQ(Set1FromScancode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(Set1FromScancode(SDL_NUM_SCANCODES), 0);
    EXPECT_EQ(Set1FromScancode(100000), 0);
    EXPECT_EQ(Set1FromScancode(SDL_SCANCODE_AUDIONEXT), 0);
    for (int unnamed : {0, 84, 85, 255}) EXPECT_EQ(ScancodeFromSet1(unnamed), 0) << unnamed;
}

}  // namespace
