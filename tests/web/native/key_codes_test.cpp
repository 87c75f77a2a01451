// The browser's key table gives the game the same set-1 codes as the native
// window's, so key names and keys.dat mean the same keys in both.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/sdl/scancode_table.h"
#include "platform/web/scancode_table.h"

TEST(WebKeyCodes, SameSet1CodesAsTheNativeWindow) {
    std::set<int> native;
    for (int i = 0; i < platform::sdl::ScancodeTableSize; ++i) {
        native.insert(platform::sdl::ScancodeTable[i].set1);
    }
    std::set<int> web;
    std::set<std::string> names;
    for (int i = 0; i < platform::web::KeyCodeTableSize; ++i) {
        web.insert(platform::web::KeyCodeTable[i].set1);
        EXPECT_TRUE(names.insert(platform::web::KeyCodeTable[i].code).second)
            << "twice: " << platform::web::KeyCodeTable[i].code;
    }
    EXPECT_EQ(web, native);
}
