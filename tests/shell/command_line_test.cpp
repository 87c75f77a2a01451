#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool Parse(const std::vector<const char*>& words, CommandLine* options, std::string* error) {
    std::vector<const char*> argv{"volleen"};
    argv.insert(argv.end(), words.begin(), words.end());
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(CommandLine, NoOptionsIsTheDesignedRunAndEachOptionSetsItsField) {
    CommandLine none;
    std::string error;
    ASSERT_TRUE(Parse({}, &none, &error));
    EXPECT_FALSE(none.help || none.version || none.skipIntro);
    EXPECT_TRUE(none.dataDir.empty());
    EXPECT_TRUE(none.start.fullScreen);
    EXPECT_FALSE(none.start.frameStats);

    CommandLine all;
    ASSERT_TRUE(
        Parse({"--help", "--version", "--skip-intro", "--window", "--data", "/d", "--frame-stats"},
              &all, &error))
        << error;
    EXPECT_TRUE(all.help && all.version && all.skipIntro);
    CommandLine shortHelp;
    ASSERT_TRUE(Parse({"-h"}, &shortHelp, &error)) << error;
    EXPECT_TRUE(shortHelp.help);
    EXPECT_EQ(all.dataDir, "/d");
    EXPECT_FALSE(all.start.fullScreen);
    EXPECT_TRUE(all.start.frameStats);

    // The last of --window and --fullscreen counts; --data=DIR is --data DIR.
    CommandLine later;
    ASSERT_TRUE(Parse({"--window", "--fullscreen", "--data=a b"}, &later, &error)) << error;
    EXPECT_TRUE(later.start.fullScreen);
    EXPECT_EQ(later.dataDir, "a b");
}

TEST(CommandLine, BadWordsAreRefusedWithOneLineNamingThem) {
    const std::vector<std::pair<std::vector<const char*>, std::string>> bad = {
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"-x"}, "unexpected argument '-x'"},
        {{"level2"}, "unexpected argument 'level2'"},
        {{"--data"}, "--data needs a DIR"},
        {{"--data="}, "--data needs a DIR"},
        {{"--window=yes"}, "--window takes no value"},
    };
    for (const auto& [words, expected] : bad) {
        CommandLine options;
        std::string error;
        EXPECT_FALSE(Parse(words, &options, &error)) << words[0];
        EXPECT_EQ(error, expected);
    }
}

}  // namespace
