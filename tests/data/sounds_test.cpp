// The seven sounds: the format the sound bank plays, their lengths, quiet
// starts and ends for the one-shots, and loops that come round without a jump.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "generated.h"

using namespace data_test;

namespace {

struct Range {
    const char* name;
    double shortest, longest;  // seconds
};

int Peak(const WaveFile& w) {
    int most = 0;
    for (uint8_t v : w.data) most = std::max(most, std::abs(v - 128));
    return most;
}

double Seconds(const WaveFile& w) { return w.data.size() / 11025.0; }

}  // namespace

TEST(Sounds, AllSevenAreEightBitMonoAtTheBanksRate) {
    for (const char* name : {"BOING.WAV", "BUZZER.WAV", "SPIKE.WAV", "FIRE.WAV", "SPLIT.WAV",
                             "MENU.WAV", "MUSIC.WAV"}) {
        SCOPED_TRACE(name);
        WaveFile w;
        ASSERT_TRUE(LoadWave(name, &w));
        EXPECT_EQ(w.formatTag, 1);
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.samplesPerSecond, 11025u);
        EXPECT_EQ(w.averageBytesPerSecond, 11025u);
        EXPECT_EQ(w.blockAlign, 1);
        EXPECT_EQ(w.bitsPerSample, 8);
        // The canonical header: the data follows 44 bytes in (and an odd
        // data chunk is padded to an even length).
        EXPECT_EQ(ReadFileBytes(Folder() + "/" + name).size(),
                  44 + w.data.size() + (w.data.size() & 1));
    }
}

TEST(Sounds, EffectsAreShortQuietAtTheEndsAndLeaveHeadroom) {
    const Range effects[] = {{"BOING.WAV", 0.05, 0.2},
                             {"BUZZER.WAV", 0.3, 0.6},
                             {"SPIKE.WAV", 0.7, 1.3},
                             {"FIRE.WAV", 0.7, 1.3},
                             {"SPLIT.WAV", 0.2, 0.45}};
    for (const Range& e : effects) {
        SCOPED_TRACE(e.name);
        WaveFile w;
        ASSERT_TRUE(LoadWave(e.name, &w));
        EXPECT_GE(Seconds(w), e.shortest);
        EXPECT_LE(Seconds(w), e.longest);
        EXPECT_EQ(w.data.front(), 128);
        EXPECT_EQ(w.data.back(), 128);
        // Fades: the first and last millisecond stay near silence.
        for (size_t i = 0; i < 11; ++i) {
            EXPECT_LE(std::abs(w.data[i] - 128), 14) << "sample " << i;
            EXPECT_LE(std::abs(w.data[w.data.size() - 1 - i] - 128), 14) << "from the end " << i;
        }
        EXPECT_LE(Peak(w), 40);
        EXPECT_GE(Peak(w), 25) << "audible";
    }
}

TEST(Sounds, TunesLoopWithoutAJump) {
    const Range tunes[] = {{"MENU.WAV", 8.0, 20.0}, {"MUSIC.WAV", 15.0, 40.0}};
    for (const Range& t : tunes) {
        SCOPED_TRACE(t.name);
        WaveFile w;
        ASSERT_TRUE(LoadWave(t.name, &w));
        EXPECT_GE(Seconds(w), t.shortest);
        EXPECT_LE(Seconds(w), t.longest);
        EXPECT_GE(Peak(w), 30) << "audible";
        EXPECT_LE(Peak(w), 56) << "headroom for the effects";
        const auto& s = w.data;
        const size_t n = s.size();
        // From the last sample round to the first: the step is small, and
        // the slope carries on as it was going.
        int seam = s[0] - s[n - 1];
        int before = s[n - 1] - s[n - 2];
        int after = s[1] - s[0];
        EXPECT_LE(std::abs(seam), 6);
        EXPECT_LE(std::abs(seam - before), 6);
        EXPECT_LE(std::abs(after - seam), 6);
        // And no bigger than the steps the tune takes anyway.
        std::vector<int> steps;
        for (size_t i = 1; i < n; ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
        std::sort(steps.begin(), steps.end());
        EXPECT_LE(std::abs(seam), std::max(2, steps[steps.size() * 99 / 100]));
    }
}

TEST(Sounds, TheMatchMusicIsATuneNotADrone) {
    WaveFile w;
    ASSERT_TRUE(LoadWave("MUSIC.WAV", &w));
    // Loudness in quarter-second windows changes as notes and drums come and go.
    std::vector<double> levels;
    const size_t window = 11025 / 4;
    for (size_t at = 0; at + window <= w.data.size(); at += window) {
        double sum = 0;
        for (size_t i = at; i < at + window; ++i) sum += std::abs(w.data[i] - 128);
        levels.push_back(sum / window);
    }
    auto [low, high] = std::minmax_element(levels.begin(), levels.end());
    EXPECT_GT(*low, 1.0) << "never silent";
    EXPECT_GT(*high, *low * 1.3);
}
