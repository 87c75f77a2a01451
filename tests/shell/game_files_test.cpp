// Where the game looks for its data and keeps keys.dat.
#include "shell/game_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

class GameFilesSearch : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device entropy;
        root_ = fs::temp_directory_path() / ("volleen-files-" + std::to_string(entropy()));
        for (const char* folder : {"work", "option", "variable", "installed", "empty"}) {
            fs::create_directories(root_ / folder);
        }
        for (const char* folder : {"option", "variable", "installed"}) AddData(folder);
        previous_ = fs::current_path();
        fs::current_path(root_ / "work");
        search_.installedData = (root_ / "installed").string();
        search_.home = "/home/player";
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(root_);
    }
    void AddData(const char* folder) { std::ofstream(root_ / folder / "BALL3D8BIG.BMP") << "x"; }
    std::string At(const char* folder) const { return (root_ / folder).string(); }

    fs::path root_;
    fs::path previous_;
    FileSearch search_;
};

TEST_F(GameFilesSearch, DataInTheWorkingFolderKeepsEverythingThereAsBefore) {
    AddData("work");
    search_.dataVariable = At("variable");
    GameFiles found;
    std::string why;
    ASSERT_TRUE(FindGameFiles(search_, &found, &why)) << why;
    EXPECT_EQ(found.dataDir, "");
    EXPECT_EQ(found.keysFile, "keys.dat");
}

TEST_F(GameFilesSearch, ElsewhereTheDataIsLookedForInOrderAndKeysAreThePlayers) {
    GameFiles found;
    std::string why;
    // --data, even where the working folder holds data too, and relative.
    AddData("work");
    search_.dataOption = "../option";
    search_.dataVariable = At("variable");
    ASSERT_TRUE(FindGameFiles(search_, &found, &why)) << why;
    EXPECT_EQ(found.dataDir, At("option"));
    EXPECT_EQ(found.keysFile, "/home/player/.config/volleen/keys.dat");
    fs::remove(root_ / "work" / "BALL3D8BIG.BMP");

    // Then $VOLLEEN_DATA_DIR, with keys under $XDG_CONFIG_HOME.
    search_.dataOption.clear();
    search_.configHome = "/xdg";
    ASSERT_TRUE(FindGameFiles(search_, &found, &why)) << why;
    EXPECT_EQ(found.dataDir, At("variable"));
    EXPECT_EQ(found.keysFile, "/xdg/volleen/keys.dat");

    // Then the installed folder; a relative XDG_CONFIG_HOME counts as unset.
    search_.dataVariable = At("empty");
    search_.configHome = "relative";
    ASSERT_TRUE(FindGameFiles(search_, &found, &why)) << why;
    EXPECT_EQ(found.dataDir, At("installed"));
    EXPECT_EQ(found.keysFile, "/home/player/.config/volleen/keys.dat");
}

TEST_F(GameFilesSearch, NoDataAnywhereNamesEveryPlaceTried) {
    GameFiles found;
    std::string why;
    search_.dataVariable = At("empty");
    search_.installedData = At("empty") + "/share/games/volleen";
    EXPECT_FALSE(FindGameFiles(search_, &found, &why));
    EXPECT_EQ(why, "no game data found; looked in the working folder " + At("work") + ", " +
                       At("empty") + " ($VOLLEEN_DATA_DIR), " + At("empty") +
                       "/share/games/volleen; name the folder with --data DIR");

    // A --data folder without data is not passed over for another.
    search_.dataOption = At("empty");
    search_.dataVariable = At("variable");
    EXPECT_FALSE(FindGameFiles(search_, &found, &why));
    EXPECT_EQ(why, "no game data in " + At("empty") + " (given with --data)");
}

// What a person typed or the environment holds, when it cannot be used as
// it stands: relative places ignored with a line, a path too long to use
// said as such, and a name with a newline shown on one line.
TEST_F(GameFilesSearch, PlacesThatCannotBeUsedAreSaidAsSuch) {
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome != nullptr ? oldHome : "";
    setenv("HOME", "relhome", 1);
    setenv("XDG_CONFIG_HOME", "relxdg", 1);
    const FileSearch process = ProcessFileSearch("", "../share");
    setenv("HOME", savedHome.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(process.notes,
              (std::vector<std::string>{"ignoring $XDG_CONFIG_HOME (relxdg): not an absolute path",
                                        "ignoring $HOME (relhome): not an absolute path"}));
    EXPECT_EQ(process.configHome, "");
    const passwd* user = getpwuid(getuid());
    EXPECT_EQ(process.home, user != nullptr ? user->pw_dir : "");

    GameFiles found;
    std::string why;
    search_.home = "relhome";
    search_.dataVariable = At("variable");
    ASSERT_TRUE(FindGameFiles(search_, &found, &why)) << why;
    EXPECT_EQ(found.keysFile, "");  // nowhere to save rather than inside the data

    // Data at the end of a path longer than the system takes: made a folder
    // at a time, each relative to the last.
    std::string deep = At("work");
    std::vector<int> levels = {open(deep.c_str(), O_RDONLY | O_DIRECTORY)};
    const std::string step(200, 'd');
    while (deep.size() < 4200) {
        ASSERT_EQ(mkdirat(levels.back(), step.c_str(), 0700), 0);
        levels.push_back(openat(levels.back(), step.c_str(), O_RDONLY | O_DIRECTORY));
        deep += "/" + step;
    }
    close(openat(levels.back(), "BALL3D8BIG.BMP", O_WRONLY | O_CREAT, 0600));
    search_.dataOption = deep;
    EXPECT_FALSE(FindGameFiles(search_, &found, &why));
    EXPECT_EQ(why, "the folder given with --data is too long to use (" +
                       std::to_string(deep.size()) + " characters; at most 4080)");
    // Taken down the same way: no call could name it whole.
    unlinkat(levels.back(), "BALL3D8BIG.BMP", 0);
    for (size_t i = levels.size() - 1; i > 0; --i) {
        close(levels[i]);
        unlinkat(levels[i - 1], step.c_str(), AT_REMOVEDIR);
    }
    close(levels[0]);

    search_.dataOption = "new\nline";
    EXPECT_FALSE(FindGameFiles(search_, &found, &why));
    EXPECT_EQ(why, "no game data in " + At("work") + "/new\\nline (given with --data)");
}

}  // namespace
