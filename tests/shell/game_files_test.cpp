// Where the game looks for its data and keeps keys.dat.
#include "shell/game_files.h"

#include <gtest/gtest.h>

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

}  // namespace
