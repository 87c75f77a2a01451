// keys.dat: reading it (first run, damaged and short files) and writing it
// so that it is never torn.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "frontend/key_bindings.h"
#include "frontend_fixture.h"

namespace fs = std::filesystem;
using support::ReadFileBytes;
using support::WriteFileBytes;

namespace {

class KeysFile : public fe::DataFolder {
protected:
    bool CopyData() const override { return false; }

    static void Set(uint8_t p1l, uint8_t p1r, uint8_t p2l, uint8_t p2r, uint8_t music) {
        Player1Left = p1l;
        Player1Right = p1r;
        Player2Left = p2l;
        Player2Right = p2r;
        MusicOn = music;
    }
    static std::vector<uint8_t> Fields() {
        return {Player1Left, Player1Right, Player2Left, Player2Right, MusicOn};
    }
};

TEST_F(KeysFile, FirstRunGivesArrowsForPlayerOneAndADForPlayerTwoWithoutWritingTheFile) {
    Set(0, 0, 0, 0, 7);
    LoadKeyBindings();
    EXPECT_EQ(Fields(), (std::vector<uint8_t>{203, 205, 30, 32, 1}));
    EXPECT_FALSE(fs::exists("keys.dat"));
}

TEST_F(KeysFile, ReadsTheLowestByteOfEachOfTheFiveIntegers) {
    WriteFileBytes("keys.dat",
                   {0x1E, 0, 0, 0, 0x20, 0, 0, 0, 0x24, 0, 0, 0, 0x26, 0, 0, 0, 0, 0, 0, 0});
    LoadKeyBindings();
    EXPECT_EQ(Fields(), (std::vector<uint8_t>{30, 32, 36, 38, 0}));

    // The upper bytes do not matter, nor does anything after byte 19.
    WriteFileBytes("keys.dat", {0x30, 0x01, 0, 0, 0x10, 0xFF, 0xFF, 0xFF, 0xC8, 0,    0,
                                0x80, 0xD0, 0, 0, 0,    0x01, 0,    0,    0,    0x99, 0x99});
    LoadKeyBindings();
    EXPECT_EQ(Fields(), (std::vector<uint8_t>{48, 16, 200, 208, 1}));
}

TEST_F(KeysFile, AShortFileKeepsItsWholeValuesAndSaysTheRestTakeTheirDefaults) {
    // Two whole integers and half of the third.
    WriteFileBytes("keys.dat", {0x1E, 0, 0, 0, 0x20, 0, 0, 0, 0x24, 0});
    Set(1, 1, 1, 1, 7);
    testing::internal::CaptureStderr();
    LoadKeyBindings();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "volleen: keys.dat is cut short (10 of 20 bytes); the missing settings take their "
              "defaults\n");
    EXPECT_EQ(Fields(), (std::vector<uint8_t>{30, 32, 30, 32, 1}));

    // Empty: every setting is the default. A code that names no key, Escape
    // and a music value other than 0 or 1 take theirs too, one line each,
    // and the file stays as it is.
    WriteFileBytes("keys.dat", {});
    LoadKeyBindings();
    EXPECT_EQ(Fields(), (std::vector<uint8_t>{203, 205, 30, 32, 1}));
    const std::vector<uint8_t> odd = {0, 0, 0,    0, 0xFF, 1, 0, 0, 1, 0,
                                      0, 0, 0x10, 0, 0,    0, 7, 0, 0, 0};
    WriteFileBytes("keys.dat", odd);
    testing::internal::CaptureStderr();
    LoadKeyBindings();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "volleen: keys.dat: Player 1 left is 0, which names no key; using Left Arrow\n"
              "volleen: keys.dat: Player 1 right is 255, which names no key; using Right Arrow\n"
              "volleen: keys.dat: Player 2 left is 1, Escape; using A\n"
              "volleen: keys.dat: music is 7, neither 0 nor 1; taken as on\n");
    EXPECT_EQ(Fields(), (std::vector<uint8_t>{203, 205, 30, 16, 1}));
    EXPECT_EQ(ReadFileBytes("keys.dat"), odd);
}

TEST_F(KeysFile, SaveWritesTwentyBytesOfZeroExtendedValuesAndLoadsBackTheSame) {
    Set(203, 205, 30, 32, 0);
    SaveKeyBindings();
    EXPECT_EQ(
        ReadFileBytes("keys.dat"),
        (std::vector<uint8_t>{203, 0, 0, 0, 205, 0, 0, 0, 30, 0, 0, 0, 32, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(folder_->Count(), 1u);

    // Rewriting a longer file cuts it to 20 bytes.
    WriteFileBytes("keys.dat", std::vector<uint8_t>(64, 0xAB));
    Set(16, 17, 18, 19, 1);
    SaveKeyBindings();
    Set(0, 0, 0, 0, 0);
    LoadKeyBindings();
    EXPECT_EQ(Fields(), (std::vector<uint8_t>{16, 17, 18, 19, 1}));
    EXPECT_EQ(fs::file_size("keys.dat"), 20u);
}

TEST_F(KeysFile, AReadOnlyKeysFileIsLeftAloneWithOneWarning) {
    const std::vector<uint8_t> old = {0x1E, 0, 0,    0, 0x20, 0, 0, 0, 0x24, 0,
                                      0,    0, 0x26, 0, 0,    0, 1, 0, 0,    0};
    WriteFileBytes("keys.dat", old);
    fs::permissions("keys.dat", fs::perms::owner_read | fs::perms::group_read);
    Set(2, 3, 4, 5, 0);
    testing::internal::CaptureStderr();
    SaveKeyBindings();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadFileBytes("keys.dat"), old);
    EXPECT_NE(said.find("cannot save keys.dat"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    // The game goes on with the values in force.
    EXPECT_EQ(Fields(), (std::vector<uint8_t>{2, 3, 4, 5, 0}));

    // A folder in its place cannot be replaced either, and nothing is left.
    fs::remove("keys.dat");
    fs::create_directory("keys.dat");
    testing::internal::CaptureStderr();
    SaveKeyBindings();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot save keys.dat"),
              std::string::npos);
    EXPECT_TRUE(fs::is_directory("keys.dat"));
    EXPECT_EQ(folder_->Count(), 1u);
}

// Settings kept elsewhere and linked in (as dotfile managers do) stay linked,
// and the temporary file cannot be aimed at another file through a planted link.
TEST_F(KeysFile, ASaveWritesThroughALinkKeepingTheTargetsModeAndFollowsNoPlantedLink) {
    fs::create_directory("kept");
    WriteFileBytes("kept/keys", std::vector<uint8_t>(20, 0));
    fs::permissions("kept/keys",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("kept/keys", "keys.dat");
    WriteFileBytes("victim", {1, 2, 3});
    fs::create_symlink("victim", "keys.dat.tmp");
    fs::create_symlink("../victim", "kept/keys.tmp");

    Set(203, 205, 30, 32, 1);
    SaveKeyBindings();
    EXPECT_TRUE(fs::is_symlink("keys.dat"));
    EXPECT_EQ(
        ReadFileBytes("kept/keys"),
        (std::vector<uint8_t>{203, 0, 0, 0, 205, 0, 0, 0, 30, 0, 0, 0, 32, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(fs::status("kept/keys").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(ReadFileBytes("victim"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::distance(fs::directory_iterator("kept"), fs::directory_iterator()), 2);
}

TEST_F(KeysFile, AKeysFileThatCannotBeOpenedGivesTheDefaultKeysAndAWarning) {
    fs::create_directory("keys.dat");
    Set(0, 0, 0, 0, 0);
    testing::internal::CaptureStderr();
    LoadKeyBindings();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Fields(), (std::vector<uint8_t>{203, 205, 30, 32, 1}));
    EXPECT_NE(said.find("cannot read keys.dat"), std::string::npos) << said;
}

}  // namespace
