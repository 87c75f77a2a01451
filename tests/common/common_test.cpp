// The shared layer: whole numbers typed by a person, files saved whole, and
// names shown in messages. These run on every system, Windows too (under
// wine); what only POSIX systems have is in posix_files_test.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "common/file_read.h"
#include "common/file_write.h"
#include "common/folders.h"
#include "common/parse_integer.h"
#include "common/printable.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

TEST(ParseInteger, TakesOnlyAWholeDecimalNumberInItsRange) {
    int64_t value = 7;
    EXPECT_TRUE(ParseInteger("-12", -12, 0, &value));
    EXPECT_EQ(value, -12);
    EXPECT_TRUE(ParseInteger("9223372036854775807", 0, INT64_MAX, &value));
    EXPECT_EQ(value, INT64_MAX);
    for (const char* bad : {"", "-", "12x", " 5", "5 ", "0x10", "1e3", "9223372036854775808"}) {
        EXPECT_FALSE(ParseInteger(bad, INT64_MIN, INT64_MAX, &value)) << bad;
    }
    EXPECT_FALSE(ParseInteger("256", 0, 255, &value));
    EXPECT_FALSE(ParseInteger("-1", 0, 255, &value));
    EXPECT_EQ(value, INT64_MAX);  // untouched by a refusal
}

// What every system must do (keys.dat is saved on each M in the menu): the
// folders are made, a second save replaces the first whole, nothing is left
// beside it, the bytes read back are the bytes saved (no line ends turned
// into others, no stop at 0x1A), and a file made read-only is not replaced.
TEST(SaveEverywhere, ASecondSaveReplacesTheFirst) {
    support::TempFolder folder("volleen-save");
    const std::string keys = (fs::path(folder.Path("config")) / "volleen" / "keys.dat").string();
    std::string why;
    ASSERT_TRUE(MakeParentFolders(keys, 0700, &why)) << why;
    ASSERT_TRUE(WriteFileAtomically(keys.c_str(), "first\n", 6, &why)) << why;
    ASSERT_TRUE(WriteFileAtomically(keys.c_str(), "2\r\n\x1a", 4, &why)) << why;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(keys.c_str(), 100, &bytes, &why)) << why;
    EXPECT_EQ(bytes, (std::vector<uint8_t>{'2', '\r', '\n', 0x1a}));
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(keys).parent_path()),
                            fs::directory_iterator()),
              1);

    fs::permissions(keys, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(WriteFileAtomically(keys.c_str(), "third", 5, &why));
    EXPECT_EQ(why, "it is read-only");
    EXPECT_EQ(support::ReadFileBytes(keys).size(), 4u);
    fs::permissions(keys, fs::perms::owner_write, fs::perm_options::add);
}

TEST(Printable, ControlCharactersAreWrittenOut) {
    EXPECT_EQ(Printable("a\nb\tc\x1b[2Jd/\\e f"), "a\\nb\\tc\\x1b[2Jd/\\e f");
}

}  // namespace
