// The generator itself: the same bytes on every run, and the players' own
// keys.dat left alone in the folder it writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "common/layout.h"
#include "generated.h"

using namespace data_test;

namespace fs = std::filesystem;

TEST(Generator, WritesTheSameBytesEveryRunAndKeepsKeysDat) {
    fs::path again = fs::path(Folder()).string() + "-again";
    fs::remove_all(again);
    fs::create_directories(again);
    const std::vector<uint8_t> keys = {30, 0, 0,  0, 32, 0, 0, 0, 36, 0,
                                       0,  0, 38, 0, 0,  0, 1, 0, 0,  0};
    support::WriteFileBytes(again / "keys.dat", keys);
    ASSERT_EQ(RunGenerator(again.string()), 0);

    int files = 0;
    for (const auto& entry : fs::directory_iterator(Folder())) {
        std::string name = entry.path().filename().string();
        if (name == "keys.dat") continue;
        ++files;
        EXPECT_EQ(ReadFileBytes(entry.path()), ReadFileBytes(again / name)) << name;
    }
    // Twelve pictures, the icon and seven sounds.
    EXPECT_EQ(files, 20);
    EXPECT_EQ(ReadFileBytes(again / "keys.dat"), keys);
    fs::remove_all(again);
}

TEST(Generator, FailsWhenItCannotWrite) {
    // A folder that cannot be made: the generator must say so.
    EXPECT_NE(RunGenerator("/proc/volleen-no-such-place"), 0);
}

TEST(Generator, DrawsTheSixthCourtThroughTheGame) {
    // The game never picks the sixth court; its screenshot comes from the
    // game's own match drawing, run by the generator.
    const std::string out = Folder() + "-court6.bmp";
    const std::string command = std::string(VOLLEEN_BINARY_DIR) +
                                "/volleen-generate --court-picture '" + Folder() + "' 5 2 '" + out +
                                "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    BitmapFile shot{};
    ASSERT_EQ(LoadBitmapFile(&shot, out.c_str()), 1);
    ASSERT_EQ(shot.infoHeader.biWidth, 640);
    ASSERT_EQ(shot.infoHeader.biHeight, 480);
    Picture court;
    ASSERT_TRUE(LoadPicture("BACK86.BMP", &court));
    // The background is the sixth court (away from sprites and words) ...
    int same = 0;
    for (int y = 100; y < 200; ++y)
        for (int x = 100; x < 200; ++x) same += shot.pixels[y * 640 + x] == Screen(court, x, y);
    EXPECT_EQ(same, 100 * 100);
    // ... with the two-player prompt in its colour over it.
    int prompt = 0;
    for (int y = 235; y < 251; ++y)
        for (int x = 235; x < 405; ++x) prompt += shot.pixels[y * 640 + x] == PROMPT_COLOUR;
    EXPECT_GT(prompt, 150);
    UnloadBitmapFile(&shot);
    fs::remove(out);
}
