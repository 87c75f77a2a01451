// The shared layer: whole numbers typed by a person, and files written whole.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>

#include "common/file_write.h"
#include "common/parse_integer.h"
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

class WriteFile : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return folder_.Path(name); }
    support::TempFolder folder_{"volleen-common"};
};

TEST_F(WriteFile, ANewFileGetsTheUsualModeAndADanglingLinkGetsItsTarget) {
    const mode_t mask = umask(022);
    std::string why;
    ASSERT_TRUE(WriteFileAtomically(Path("new").c_str(), "abc", 3, &why)) << why;
    EXPECT_EQ(support::ReadFileBytes(Path("new")), (std::vector<uint8_t>{'a', 'b', 'c'}));
    EXPECT_EQ(fs::status(Path("new")).permissions(), static_cast<fs::perms>(0644));

    fs::create_symlink("later", Path("link"));
    ASSERT_TRUE(WriteFileAtomically(Path("link").c_str(), "", 0, &why)) << why;
    EXPECT_TRUE(fs::is_symlink(Path("link")));
    EXPECT_TRUE(fs::is_regular_file(Path("later")));
    umask(mask);
}

TEST_F(WriteFile, AFailureSaysWhyAndLeavesNothingBehind) {
    fs::create_symlink("round", Path("round"));
    std::string why;
    EXPECT_FALSE(WriteFileAtomically(Path("round").c_str(), "x", 1, &why));
    EXPECT_NE(why.find("link"), std::string::npos) << why;
    EXPECT_FALSE(WriteFileAtomically(Path("none/x").c_str(), "x", 1, &why));
    EXPECT_NE(why.find("temporary file"), std::string::npos) << why;
    EXPECT_EQ(folder_.Count(), 1u);
}

}  // namespace
