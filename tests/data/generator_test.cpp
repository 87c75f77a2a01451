// The generator itself: the same bytes on every run, and the players' own
// keys.dat left alone in the folder it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "generated.h"

using namespace data_test;

namespace fs = std::filesystem;

TEST(Generator, WritesTheSameBytesEveryRunAndKeepsKeysDat) {
    fs::path again = fs::path(Folder()).string() + "-again";
    fs::remove_all(again);
    fs::create_directories(again);
    const std::string keys("\x1e\0\0\0\x20\0\0\0\x24\0\0\0\x26\0\0\0\x01\0\0\0", 20);
    {
        std::ofstream out(again / "keys.dat", std::ios::binary);
        out << keys;
    }
    ASSERT_EQ(RunGenerator(again.string()), 0);

    int files = 0;
    for (const auto& entry : fs::directory_iterator(Folder())) {
        std::string name = entry.path().filename().string();
        if (name == "keys.dat") continue;
        ++files;
        EXPECT_EQ(ReadBytes(entry.path().string()), ReadBytes((again / name).string())) << name;
    }
    // Twelve pictures, the icon and seven sounds.
    EXPECT_EQ(files, 20);
    EXPECT_EQ(ReadBytes((again / "keys.dat").string()), keys);
    fs::remove_all(again);
}

TEST(Generator, FailsWhenItCannotWrite) {
    // A folder that cannot be made: the generator must say so.
    EXPECT_NE(RunGenerator("/proc/volleen-no-such-place"), 0);
}
