// The whole run, start-up to exit, with the logo and credits pauses left out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock/pause.h"
#include "frontend_fixture.h"
#include "shell/shell.h"

namespace {

class WholeRun : public fe::DataFolder {};

TEST_F(WholeRun, SkipIntroLeavesOutOnlyTheLogoAndCreditsPauses) {
    // Q held from the start: the logos read no keys, the first menu ends the game.
    Start("100 key 16 down\n");
    SkipIntro = true;
    const int32_t code = WinMain();
    SkipIntro = false;

    EXPECT_EQ(code, 0);
    // The 400 ms of black between the logos stays; so does each logo's sound.
    EXPECT_EQ(recorder.sleeps, std::vector<uint32_t>{400});
    EXPECT_EQ(recorder.CountPlayed("FIRE.WAV"), 2);
}

}  // namespace
