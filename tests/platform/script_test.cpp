// Script lines the backend refuses, each named by its line.
#include <gtest/gtest.h>

#include "platform/headless/headless.h"

namespace {

std::string ErrorFor(const std::string& script) {
    headless::Options options;
    options.scriptText = script;
    std::string error;
    if (headless::Configure(options, &error)) return "";
    return error;
}

TEST(Script, GoodLinesAreAccepted) {
    EXPECT_EQ(ErrorFor("0 key 200 down\n"
                       "  10\tmouse -3 4  \n"
                       "10 button 3 up\n"
                       "20 close\n"
                       "20 shot a.bmp # trailing comment\n"
                       "30 pad 1 added\n"
                       "30 pad 1 button dpright down\n"
                       "30 pad 1 axis lefttrigger -32768\n"
                       "40 pad 1 removed\n"
                       "# only a comment\n"),
              "");
}

TEST(Script, EachBadLineIsNamed) {
    const char* good = "# header\n0 key 1 down\n0 pad 0 added\n";
    const struct {
        const char* line;
        const char* why;
    } bad[] = {
        {"x key 1 down", "bad time"},
        {"-5 close", "bad time"},
        {"86400001 close", "a day at most"},
        {"10 jump", "unknown command"},
        {"10 key 256 down", "bad key code"},
        {"10 key 12 pressed", "down or up"},
        {"10 key 12", "key needs"},
        {"10 mouse 1", "mouse needs"},
        {"10 mouse 1 y", "bad mouse"},
        {"10 button 4 down", "bad button"},
        {"10 close now", "close takes"},
        {"10 shot", "shot needs"},
        {"10 shot ../escape.bmp", "bad shot name"},
        {"10", "no command"},
        {"10 pad 2 added", "bad pad number"},
        {"10 pad 1 button a down", "pad 1 is not connected"},
        {"10 pad 0 added", "already connected"},
        {"10 pad 0 button south down", "unknown pad button"},
        {"10 pad 0 button a held", "down or up"},
        {"10 pad 0 axis lefty 32768", "bad axis value"},
        {"10 pad 0 axis leftz 0", "unknown pad axis"},
        {"10 pad 0 shake", "got 'shake'"},
        {"10 pad 0", "pad needs"},
        {"10 pad 1 plugged", "expected added, removed, button or axis, got 'plugged'"},
    };
    for (const auto& b : bad) {
        const std::string error = ErrorFor(std::string(good) + b.line + "\n");
        EXPECT_EQ(error.rfind("script line 4: ", 0), 0u) << b.line << " -> " << error;
        EXPECT_NE(error.find(b.why), std::string::npos) << b.line << " -> " << error;
    }
}

TEST(Script, TimeMustNotGoBackwards) {
    EXPECT_EQ(ErrorFor("100 close\n99 close\n"), "script line 2: time goes backwards");
}

}  // namespace
