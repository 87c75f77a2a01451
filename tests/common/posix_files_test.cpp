// Saving and reading where POSIX is: permission bits, symbolic links, pipes
// and device nodes. Not built for Windows, which has none of them here.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>

#include "common/file_limits.h"
#include "common/file_read.h"
#include "common/file_write.h"
#include "sound/wave_file.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

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

// Renamed over, a device node or a pipe would turn into a plain file: saves
// refuse them, outputs are written into them. The device is one made here
// (the machine's /dev/null is never touched), which needs the superuser.
TEST_F(WriteFile, NothingButARegularFileIsReplaced) {
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    fs::create_symlink("pipe", Path("keys.dat"));
    std::string why;
    EXPECT_FALSE(WriteFileAtomically(Path("keys.dat").c_str(), "x", 1, &why));
    EXPECT_EQ(why, "it is not a regular file (a device or a pipe)");
    EXPECT_TRUE(fs::is_fifo(Path("pipe")));

    // An output into the pipe reaches whoever reads it.
    const int reader = open(Path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(WriteOutputFile(Path("keys.dat").c_str(), "abc", 3, &why)) << why;
    char got[8] = {};
    EXPECT_EQ(read(reader, got, sizeof got), 3);
    EXPECT_STREQ(got, "abc");
    close(reader);

    if (mknod(Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_FALSE(WriteFileAtomically(Path("null").c_str(), "x", 1, &why));
        EXPECT_TRUE(WriteOutputFile(Path("null").c_str(), "x", 1, &why)) << why;
        EXPECT_TRUE(fs::is_character_file(Path("null")));
    }

    // A settings folder that is a file is named as such.
    support::WriteFileBytes(Path("volleen"), {1});
    EXPECT_FALSE(WriteFileAtomically(Path("volleen/keys.dat").c_str(), "x", 1, &why));
    EXPECT_EQ(why, Path("volleen") + " is a file, not a folder");
    EXPECT_EQ(folder_.Count(), fs::exists(Path("null")) ? 4u : 3u);  // nothing left beside
}

// Only a regular file within the reader's limit is read; the rest is refused
// at once, without waiting on a pipe or reading a device without end.
TEST(ReadWholeFile, TakesOnlyARegularFileWithinItsLimit) {
    support::TempFolder folder("volleen-read");
    ASSERT_EQ(mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    support::WriteFileBytes(folder.Path("ten"), std::vector<uint8_t>(10, 7));
    std::vector<uint8_t> bytes;
    std::string why;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ReadWholeFile(folder.Path("pipe").c_str(), 100, &bytes, &why));
    EXPECT_EQ(why, "is a pipe, not a file");
    EXPECT_FALSE(ReadWholeFile("/dev/zero", 100, &bytes, &why));
    EXPECT_EQ(why, "is a device, not a file");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(ReadWholeFile(folder.path().c_str(), 100, &bytes, &why));
    EXPECT_EQ(why, "is a directory");
    EXPECT_FALSE(ReadWholeFile(folder.Path("ten").c_str(), 9, &bytes, &why));
    EXPECT_EQ(why, "is too large (10 bytes; at most 9 bytes)");
    EXPECT_TRUE(ReadWholeFile(folder.Path("ten").c_str(), 10, &bytes, &why));
    EXPECT_EQ(bytes.size(), 10u);

    // A sound past its limit is refused before a byte is read (the file is
    // sparse: it takes no room).
    support::WriteFileBytes(folder.Path("BIG.WAV"), {});
    fs::resize_file(folder.Path("BIG.WAV"), MAX_SOUND_FILE_BYTES + 1);
    WaveFile wave{};
    EXPECT_EQ(ReadWaveFile(folder.Path("BIG.WAV").c_str(), &wave, &why), 0);
    EXPECT_EQ(why, "is too large (33554433 bytes; at most 32 MiB)");
}

}  // namespace
