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

// Parsed and taken as the game takes them: the part this machine plays,
// or one line saying why the choice does not hold.
TEST(CommandLine, OnlineChoicesSetThePartOrSayWhyNot) {
    struct Case {
        std::vector<const char*> words;
        OnlineRole side;
        std::string address;
        uint16_t port;
        std::string room;  // for a refusal: the error
    };
    const std::vector<Case> good = {
        {{"--host"}, OnlineRole::Host, "", ONLINE_DEFAULT_PORT, ""},
        {{"--join", "127.0.0.2:25000"}, OnlineRole::Guest, "127.0.0.2", 25000, ""},
        {{"--host", "--relay", "relay.example"}, OnlineRole::Host, "relay.example", 24861, ""},
        {{"--join", "acd-ef", "--relay", "r:9"}, OnlineRole::Guest, "r", 9, "ACDEF"},
        {{"--relay=ws://r/v/", "--watch", "YXWVU"},
         OnlineRole::Watcher,
         "ws://r/v/",
         24861,
         "YXWVU"},
    };
    for (const Case& c : good) {
        CommandLine options;
        std::string error;
        ASSERT_TRUE(Parse(c.words, &options, &error)) << error;
        OnlineAddress.clear();
        OnlinePort = ONLINE_DEFAULT_PORT;
        ASSERT_TRUE(TakeOnlineChoice(options.online, &error)) << c.words[0] << ": " << error;
        EXPECT_EQ(OnlineSide, c.side) << c.words[0];
        EXPECT_EQ(OnlineAddress, c.address);
        EXPECT_EQ(OnlinePort, c.port);
        EXPECT_EQ(OnlineRoom, c.room);
        EXPECT_EQ(OnlineViaRelay, c.room != "" || c.address == "relay.example");
    }
    const std::vector<Case> bad = {
        {{"--host", "--join", "a"}, {}, "", 0, "only one of --host, --join and --watch at a time"},
        {{"--watch", "ACDEF"},
         {},
         "",
         0,
         "--watch needs --relay: matches are watched through a relay"},
        {{"--relay", "r"}, {}, "", 0, "--relay goes with --host, --join or --watch"},
        {{"--host", "7", "--relay", "r"},
         {},
         "",
         0,
         "--host takes no port with --relay: the relay has it"},
        {{"--join", "ABCDE", "--relay", "r"},
         {},
         "",
         0,
         "'ABCDE' is not a room code (five letters)"},
        {{"--watch", "ACDEFG", "--relay", "r"},
         {},
         "",
         0,
         "'ACDEFG' is not a room code (five letters)"},
        {{"--join", "ACDEF", "--relay", "r:0"}, {}, "", 0, "'0' is not a port (1 to 65535)"},
    };
    for (const Case& c : bad) {
        CommandLine options;
        std::string error;
        ASSERT_TRUE(Parse(c.words, &options, &error)) << error;
        EXPECT_FALSE(TakeOnlineChoice(options.online, &error)) << c.words[0];
        EXPECT_EQ(error, c.room);
    }
}

}  // namespace
