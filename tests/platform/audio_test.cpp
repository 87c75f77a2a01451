// Sound headless: play and stop reports, and the mixed output kept in step
// with virtual time.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"
#include "support/headless_test.h"

namespace {

class Audio : public support::HeadlessTest {
protected:
    void SetUp() override {
        headless::Options options;
        options.mixAudio = true;
        Start("", options);
    }
    void TearDown() override {
        for (auto* b : made) platform::ReleaseSoundBuffer(b);
        HeadlessTest::TearDown();
    }
    platform::SoundBuffer* Make(const std::vector<uint8_t>& samples, const char* name) {
        auto* b = platform::CreateSoundBuffer(samples.data(), static_cast<uint32_t>(samples.size()),
                                              name);
        made.push_back(b);
        return b;
    }
    std::vector<platform::SoundBuffer*> made;
};

TEST_F(Audio, SampleCountFollowsVirtualTimeWithoutDrift) {
    // 3 ms steps: 33.075 samples each; the total must stay exact.
    for (int i = 0; i < 1000; ++i) platform::Sleep(3);
    EXPECT_EQ(headless::MixedAudio().size(), 3000u * 11025u / 1000u);
    for (char c : headless::MixedAudio()) ASSERT_EQ(static_cast<uint8_t>(c), 128);
}

TEST_F(Audio, PlayStopAndTheOneShotEndAreReportedAndHeard) {
    std::vector<uint8_t> tone(441, 200);  // 40 ms
    auto* boing = Make(tone, "BOING.WAV");
    auto* music = Make(std::vector<uint8_t>(100, 60), "MUSIC.WAV");
    platform::Sleep(100);
    platform::RewindSoundBuffer(boing);
    ASSERT_TRUE(platform::PlaySoundBuffer(boing, false));
    platform::RewindSoundBuffer(music);
    ASSERT_TRUE(platform::PlaySoundBuffer(music, true));
    platform::Sleep(100);
    // The one-shot ended by itself: stopping it now reports nothing.
    platform::StopSoundBuffer(boing);
    platform::StopSoundBuffer(music);
    platform::StopSoundBuffer(music);
    EXPECT_EQ(
        recorder.Log(true),
        (std::vector<std::string>{"0 sleep 100", "100 play BOING.WAV", "100 play MUSIC.WAV loop",
                                  "100 sleep 100", "200 stop MUSIC.WAV loop"}));
    const std::string& mixed = headless::MixedAudio();
    ASSERT_EQ(mixed.size(), 2205u);
    // 100 ms is 1102 samples: the voices start at sample 1102.
    EXPECT_EQ(static_cast<uint8_t>(mixed[1101]), 128);
    EXPECT_EQ(static_cast<uint8_t>(mixed[1102]), 132);        // 128 + 72 - 68
    EXPECT_EQ(static_cast<uint8_t>(mixed[1102 + 440]), 132);  // the boing's last sample
    EXPECT_EQ(static_cast<uint8_t>(mixed[1102 + 441]), 60);   // over; the music loops on
    EXPECT_EQ(static_cast<uint8_t>(mixed[2204]), 60);
}

TEST_F(Audio, PlayingAgainRestartsRatherThanAddingAVoice) {
    std::vector<uint8_t> ramp(2000);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(128 + i % 50);
    auto* s = Make(ramp, "SPLIT.WAV");
    platform::PlaySoundBuffer(s, false);
    platform::Sleep(20);  // 220 samples in
    platform::RewindSoundBuffer(s);
    platform::PlaySoundBuffer(s, false);
    platform::Sleep(20);
    const std::string& mixed = headless::MixedAudio();
    ASSERT_EQ(mixed.size(), 441u);
    // The second play starts over from sample 0, alone.
    for (size_t i = 0; i < 221; ++i) ASSERT_EQ(static_cast<uint8_t>(mixed[220 + i]), ramp[i]) << i;
}

TEST_F(Audio, ReleasedOrMissingBuffersAreRefusedQuietly) {
    auto* s = platform::CreateSoundBuffer(nullptr, 0, "EMPTY.WAV");
    platform::ReleaseSoundBuffer(s);
    EXPECT_FALSE(platform::PlaySoundBuffer(s, false));
    EXPECT_FALSE(platform::PlaySoundBuffer(nullptr, true));
    platform::StopSoundBuffer(s);
    platform::RewindSoundBuffer(nullptr);
    platform::ReleaseSoundBuffer(s);
    EXPECT_TRUE(recorder.Log().empty());
}

}  // namespace
