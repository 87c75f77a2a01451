// The software mixer.
#include "platform/common/mixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::SoundBuffer;
namespace mixer = platform::mixer;

class Mixer : public ::testing::Test {
protected:
    void SetUp() override { mixer::StopAll(); }
    void TearDown() override {
        for (SoundBuffer* b : made_) mixer::Release(b);
    }
    SoundBuffer* Make(std::vector<uint8_t> samples, const char* name = "t") {
        SoundBuffer* b = mixer::Create(samples.data(), static_cast<uint32_t>(samples.size()), name);
        made_.push_back(b);
        return b;
    }
    std::vector<uint8_t> Mix(uint32_t n) {
        std::vector<uint8_t> out(n, 0xEE);
        mixer::Mix(out.data(), n);
        return out;
    }
    std::vector<SoundBuffer*> made_;
};

TEST_F(Mixer, SilenceIs128) {
    Make({200, 200});
    EXPECT_EQ(Mix(4), (std::vector<uint8_t>{128, 128, 128, 128}));
}

TEST_F(Mixer, OneShotPlaysOnceThenStops) {
    SoundBuffer* b = Make({130, 140, 150}, "BOING.WAV");
    EXPECT_EQ(b->name, "BOING.WAV");
    b->playing = true;
    EXPECT_EQ(Mix(5), (std::vector<uint8_t>{130, 140, 150, 128, 128}));
    EXPECT_FALSE(b->playing);
    // Exactly at its end it is over too, not one call later.
    b->position = 0;
    b->playing = true;
    Mix(3);
    EXPECT_FALSE(b->playing);
}

TEST_F(Mixer, LoopingVoiceWrapsAcrossCalls) {
    SoundBuffer* b = Make({1, 2, 3});
    b->playing = true;
    b->looping = true;
    EXPECT_EQ(Mix(4), (std::vector<uint8_t>{1, 2, 3, 1}));
    EXPECT_EQ(Mix(4), (std::vector<uint8_t>{2, 3, 1, 2}));
    EXPECT_TRUE(b->playing);
}

TEST_F(Mixer, PlayingAgainFromARewindRestartsTheOneVoice) {
    SoundBuffer* b = Make({100, 110, 120, 130});
    b->playing = true;
    Mix(2);
    // What the game does for a play: rewind, play. One voice, from the start.
    b->position = 0;
    b->playing = true;
    EXPECT_EQ(Mix(4), (std::vector<uint8_t>{100, 110, 120, 130}));
}

TEST_F(Mixer, SumsAroundTheMiddleAndClips) {
    SoundBuffer* a = Make({138, 250, 10, 128});
    SoundBuffer* b = Make({138, 250, 10, 0});
    a->playing = b->playing = true;
    // 128+10+10, 128+122+122 clipped, 128-118-118 clipped, 128+0-128.
    EXPECT_EQ(Mix(4), (std::vector<uint8_t>{148, 255, 0, 0}));
}

TEST_F(Mixer, EmptyAndReleasedVoicesAreHarmless) {
    SoundBuffer* empty = Make({});
    empty->playing = true;
    empty->looping = true;  // must not spin
    EXPECT_EQ(Mix(3), (std::vector<uint8_t>{128, 128, 128}));
    EXPECT_FALSE(empty->playing);
    SoundBuffer* gone = mixer::Create(nullptr, 0, "x");
    EXPECT_TRUE(mixer::IsKnown(gone));
    mixer::Release(gone);
    EXPECT_FALSE(mixer::IsKnown(gone));
    mixer::Release(gone);
}

TEST_F(Mixer, LongMixGoesBeyondOneChunk) {
    std::vector<uint8_t> ramp(3000);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(i % 251);
    SoundBuffer* b = Make(ramp);
    b->playing = true;
    const auto out = Mix(3100);
    for (size_t i = 0; i < 3000; ++i) ASSERT_EQ(out[i], ramp[i]) << i;
    EXPECT_EQ(out[3050], 128);
}

}  // namespace
