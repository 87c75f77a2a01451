// The menu picture: the game writes key names and the music word over it,
// and erases "On"/"Off" by drawing them in black, so every such place must
// be plain black and wide enough for the widest text the game puts there.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "generated.h"
#include "input/key_names.h"
#include "platform/common/text_raster.h"

using namespace data_test;

namespace {

// Screen (x, y) of the menu comes from picture pixel (1 + x - 20, 1 + y - 20).
uint8_t MenuPixel(const Picture& title, int x, int y) { return title.At(x - 19, y - 19); }

int WidestKeyNameDrawn() {
    int widest = 0;
    for (int code = 0; code < 256; ++code) {
        char name[80] = {};
        KeyName(code, name, sizeof name);
        widest = std::max(widest, platform::text::Width(name));
    }
    return widest;
}

struct Place {
    int x, y, width;
};

}  // namespace

TEST(Title, EveryPlaceTheGameWritesIsPlainBlack) {
    Picture title;
    ASSERT_TRUE(LoadPicture("TITLE8.BMP", &title));
    const int keys = WidestKeyNameDrawn();
    // The longest name must really be long: a broken measure would pass anything.
    ASSERT_GE(keys, platform::text::Width("Right Windows Key"));
    ASSERT_GT(keys, 80);
    const int music = std::max(platform::text::Width("On"), platform::text::Width("Off"));
    const Place places[] = {
        {230, 287, keys}, {230, 307, keys}, {420, 287, keys}, {420, 307, keys}, {313, 428, music}};
    for (const Place& place : places)
        for (int y = place.y; y < place.y + 18; ++y)
            for (int x = place.x; x < place.x + place.width; ++x)
                ASSERT_EQ(MenuPixel(title, x, y), 0)
                    << "at " << x << "," << y << " in the place at " << place.x << "," << place.y;
}

TEST(Title, TheMenuIsDrawnAroundThePlaces) {
    Picture title;
    ASSERT_TRUE(LoadPicture("TITLE8.BMP", &title));
    // Labels sit beside the key names and before the music word: there is
    // drawing in the rows of each place, to its left.
    auto inkLeftOf = [&](int x, int y) {
        int ink = 0;
        for (int yy = y; yy < y + 16; ++yy)
            for (int xx = 40; xx < x - 2; ++xx) ink += MenuPixel(title, xx, yy) != 0;
        return ink;
    };
    EXPECT_GT(inkLeftOf(230, 287), 20);
    EXPECT_GT(inkLeftOf(230, 307), 20);
    EXPECT_GT(inkLeftOf(313, 428), 20);
    // The name at the top is large and colourful.
    std::set<uint8_t> colours;
    int drawn = 0;
    for (int y = 30; y < 130; ++y)
        for (int x = 40; x < 600; ++x) {
            colours.insert(MenuPixel(title, x, y));
            drawn += MenuPixel(title, x, y) != 0;
        }
    EXPECT_GT(colours.size(), 30u);
    EXPECT_GT(drawn, 30000);
}
