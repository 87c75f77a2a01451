// The runner's own parts: arguments, JSON strings, CRC-32 and trace lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/crc32.h"
#include "match/match.h"
#include "runner_options.h"
#include "trace.h"

namespace {

bool Parse(std::vector<std::string> words, RunnerOptions* options, std::string* error) {
    std::vector<char*> argv{const_cast<char*>("volleen-headless")};
    for (auto& w : words) argv.push_back(w.data());
    return ParseRunnerArguments(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(RunnerArguments, DefaultsAndEveryOption) {
    RunnerOptions o;
    std::string error;
    ASSERT_TRUE(Parse({}, &o, &error));
    EXPECT_EQ(o.untilMs, -1);
    EXPECT_EQ(o.epoch, 1700000000);
    EXPECT_EQ(o.startTick, 0u);
    EXPECT_FALSE(o.realtime);
    EXPECT_FALSE(o.help);
    ASSERT_TRUE(Parse(
        {"--script", "s.txt", "--trace", "t.jsonl", "--shots", "dir", "--audio-out", "a.wav",
         "--until", "2000", "--epoch", "-5", "--start-tick", "4294967295", "--realtime", "--help"},
        &o, &error))
        << error;
    EXPECT_EQ(o.scriptFile, "s.txt");
    EXPECT_EQ(o.traceFile, "t.jsonl");
    EXPECT_EQ(o.shotsDir, "dir");
    EXPECT_EQ(o.audioOut, "a.wav");
    EXPECT_EQ(o.untilMs, 2000);
    EXPECT_EQ(o.epoch, -5);
    EXPECT_EQ(o.startTick, 4294967295u);
    EXPECT_TRUE(o.realtime);
    EXPECT_TRUE(o.help);
}

TEST(RunnerArguments, BadOnesAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> bad = {
        {"--until"},
        {"--until", "-1"},
        {"--until", "12ms"},
        {"--start-tick", "-1"},
        {"--start-tick", "4294967296"},
        {"--epoch", "x"},
        {"--epoch", "9223372036854775807"},
        {"--epoch", "253402300800"},
        {"--frobnicate"},
        {"extra"},
    };
    for (const auto& words : bad) {
        RunnerOptions o;
        std::string error;
        EXPECT_FALSE(Parse(words, &o, &error)) << words[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(RunnerTrace, JsonStringsAreEscaped) {
    EXPECT_EQ(JsonString("Player 1 - 10"), "\"Player 1 - 10\"");
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("\n\t\x01"), "\"\\n\\t\\u0001\"");
    EXPECT_EQ(JsonString("\xe9\x7f"), "\"\\u00e9\\u007f\"");
    EXPECT_EQ(JsonString(""), "\"\"");
}

TEST(RunnerTrace, Crc32IsZlibs) {
    const char* check = "123456789";
    EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(check), 9), 0xCBF43926u);
    EXPECT_EQ(Crc32(nullptr, 0), 0u);
}

std::vector<std::string> Lines(FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::vector<std::string> lines;
    char buffer[2048];
    while (std::fgets(buffer, sizeof buffer, file)) {
        std::string line = buffer;
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST(RunnerTrace, EachEventIsOneLineWithItsFields) {
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    TraceWriter writer(file, "", "");
    MatchState = MATCH_BALL_IN_PLAY;
    ServingSide = SIDE_TOP;
    BallsInPlay = 2;
    GameMode = MODE_AGAINST_COMPUTER;
    Player1Score = 3;
    Player2Score = 9;
    SplitTimer = 17;
    BackgroundIndex = 5;
    Ball1.x = -4;
    Ball1.y = 300;
    Ball1.xVelocity = 5;
    Ball1.yVelocity = -6;
    Ball1.state = BOB_STATE_ALIVE;
    Ball1.attributes = BOB_VISIBLE | BOB_LOADED;
    Ball2.x = Ball2.y = Ball2.xVelocity = Ball2.yVelocity = Ball2.state = BOB_STATE_DEAD;
    Ball2.attributes = BOB_LOADED;
    Paddle1.x = 280;
    Paddle1.xVelocity = -12;
    Paddle2.x = 0;
    Paddle2.xVelocity = 0;
    using headless::ReportKind;
    writer.OnReport({.kind = ReportKind::Flip, .ms = 33, .number = 2});
    writer.OnReport({.kind = ReportKind::Text,
                     .ms = 40,
                     .primary = true,
                     .x = 290,
                     .y = 240,
                     .text = "Say \"hi\"",
                     .index = 144});
    writer.OnReport({.kind = ReportKind::Text, .ms = 41, .x = -3});
    writer.OnReport(
        {.kind = ReportKind::Sound, .ms = 50, .text = "MUSIC.WAV", .play = true, .loop = true});
    writer.OnReport({.kind = ReportKind::Sound, .ms = 60, .text = "BOING.WAV"});
    uint8_t palette[1024] = {};
    writer.OnReport({.kind = ReportKind::Palette, .ms = 70, .palette = palette});
    writer.OnReport({.kind = ReportKind::Sleep, .ms = 80, .number = 5000});
    writer.WriteExit(90, 0);
    EXPECT_TRUE(writer.Finish());
    const auto lines = Lines(file);
    const std::vector<std::string> expected = {
        "{\"t\":33,\"ev\":\"frame\",\"n\":2,\"MatchState\":1,\"ServingSide\":2,\"BallsInPlay\":2,"
        "\"GameMode\":1,\"Player1Score\":3,\"Player2Score\":9,\"SplitTimer\":17,"
        "\"BackgroundIndex\":5,"
        "\"Ball1\":{\"x\":-4,\"y\":300,\"xVelocity\":5,\"yVelocity\":-6,\"state\":1,\"visible\":1},"
        "\"Ball2\":{\"x\":0,\"y\":0,\"xVelocity\":0,\"yVelocity\":0,\"state\":0,\"visible\":0},"
        "\"Paddle1\":{\"x\":280,\"xVelocity\":-12},\"Paddle2\":{\"x\":0,\"xVelocity\":0}}",
        "{\"t\":40,\"ev\":\"text\",\"surface\":\"primary\",\"x\":290,\"y\":240,"
        "\"text\":\"Say \\\"hi\\\"\",\"index\":144}",
        "{\"t\":41,\"ev\":\"text\",\"surface\":\"back\",\"x\":-3,\"y\":0,\"text\":\"\",\"index\":"
        "0}",
        "{\"t\":50,\"ev\":\"sound\",\"op\":\"play\",\"file\":\"MUSIC.WAV\",\"loop\":1}",
        "{\"t\":60,\"ev\":\"sound\",\"op\":\"stop\",\"file\":\"BOING.WAV\",\"loop\":0}",
        // zlib.crc32 of 1024 zero bytes
        "{\"t\":70,\"ev\":\"palette\",\"crc32\":\"efb5af2e\"}",
        "{\"t\":80,\"ev\":\"sleep\",\"ms\":5000}",
        "{\"t\":90,\"ev\":\"exit\",\"code\":0}",
    };
    EXPECT_EQ(lines, expected);
    std::fclose(file);
}

}  // namespace
