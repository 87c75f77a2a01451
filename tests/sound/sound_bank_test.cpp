// The sound bank over the headless backend, heard through its mixed output.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/common/mixer.h"
#include "platform/headless/headless.h"
#include "sound/sound.h"
#include "sound/wave_bytes.h"
#include "sound/wave_file.h"
#include "support/files.h"
#include "support/headless_test.h"

namespace {

using namespace wavetest;

constexpr uint8_t Loud = 160;  // one voice; two summed would read 192

class SoundBankTest : public support::HeadlessTest {
protected:
    void SetUp() override {
        // A fresh bank and device for every test, as at start-up.
        SoundShutdown();
        SoundFirstInit = true;
        headless::Options options;
        options.mixAudio = true;
        Start("", options);
        ASSERT_EQ(SoundInit(), 1);
    }
    void TearDown() override {
        SoundShutdown();
        HeadlessTest::TearDown();
    }

    std::string Path(const std::string& name) const { return dir_.Path(name); }

    std::string Write(const std::string& name, const Bytes& bytes) const {
        support::WriteFileBytes(Path(name), bytes);
        return Path(name);
    }

    std::string WriteSound(const std::string& name, size_t count, uint8_t value = Loud,
                           uint32_t rate = 11025) const {
        const Bytes samples(count, value);
        EXPECT_EQ(
            SaveWaveFile(Path(name).c_str(), samples.data(), static_cast<uint32_t>(count), rate),
            1);
        return Path(name);
    }

    // Lets `ms` of virtual time pass, mixing as it goes.
    static void Pass(uint32_t ms) { platform::Sleep(ms); }

    static std::string Mixed() { return headless::MixedAudio(); }

    static size_t CountOf(const std::string& mixed, uint8_t value, size_t from = 0,
                          size_t to = std::string::npos) {
        to = std::min(to, mixed.size());
        size_t n = 0;
        for (size_t i = from; i < to; i++) n += static_cast<uint8_t>(mixed[i]) == value;
        return n;
    }

    static uint8_t Loudest(const std::string& mixed) {
        uint8_t top = 0;
        for (char c : mixed) top = std::max(top, static_cast<uint8_t>(c));
        return top;
    }

    // The sample index of virtual millisecond `ms`.
    static size_t At(uint32_t ms) { return static_cast<size_t>(ms) * 11025 / 1000; }

    support::TempFolder dir_{"volleen-sound"};
};

TEST_F(SoundBankTest, SoundInitNumbersEveryFreeSlot) {
    for (int32_t i = 0; i < SOUND_SLOTS; i++) {
        EXPECT_EQ(SoundBank.slots[i].id, i);
        EXPECT_EQ(SoundBank.slots[i].state, SOUND_SLOT_FREE);
        EXPECT_EQ(SoundBank.slots[i].buffer, nullptr);
    }
    EXPECT_TRUE(SoundBank.device);
}

TEST_F(SoundBankTest, LoadFillsTheLowestFreeSlot) {
    const std::string file = WriteSound("A.WAV", 300);
    EXPECT_EQ(LoadSound(file.c_str(), 224), 0);
    EXPECT_EQ(LoadSound(file.c_str(), 224), 1);
    const SoundSlot& slot = SoundBank.slots[1];
    EXPECT_EQ(slot.state, SOUND_SLOT_LOADED);
    EXPECT_EQ(slot.rate, 11025);
    EXPECT_EQ(slot.size, 300);
    ASSERT_NE(slot.buffer, nullptr);
    EXPECT_EQ(slot.buffer->samples.size(), 300u);
    EXPECT_EQ(slot.buffer->name, file);
}

TEST_F(SoundBankTest, AFullBankRefusesWithoutOpeningTheFile) {
    const std::string file = WriteSound("A.WAV", 20);
    for (int32_t i = 0; i < SOUND_SLOTS; i++) ASSERT_EQ(LoadSound(file.c_str(), 224), i);
    std::string why;
    EXPECT_EQ(LoadSound(file.c_str(), 224, &why), -1);
    EXPECT_NE(why.find("slots"), std::string::npos) << why;
    EXPECT_EQ(LoadSound(Path("NOTHERE.WAV").c_str(), 224, &why), -1);
    // Had the file been opened, the reason would be that it is missing.
    EXPECT_EQ(why.find("no such file"), std::string::npos) << why;
}

TEST_F(SoundBankTest, RefusedFilesTakeNoSlot) {
    EXPECT_EQ(LoadSound(Path("MISSING.WAV").c_str(), 224), -1);
    const std::string dataFirst =
        Write("FIRST.WAV",
              Riff({Chunk("data", Samples(8)), Chunk("fmt ", Format(1, 1, 11025, 8, true))}));
    EXPECT_EQ(LoadSound(dataFirst.c_str(), 224), -1);
    const std::string adpcm = Write(
        "ADPCM.WAV", Riff({Chunk("fmt ", Format(2, 1, 11025, 4)), Chunk("data", Samples(8))}));
    EXPECT_EQ(LoadSound(adpcm.c_str(), 224), -1);
    const std::string shortFormat = Write(
        "SHORT.WAV", Riff({Chunk("fmt ", Format(1, 1, 11025, 8)), Chunk("data", Samples(9))}));
    EXPECT_EQ(LoadSound(shortFormat.c_str(), 224), 0);
    for (int32_t i = 1; i < SOUND_SLOTS; i++) EXPECT_EQ(SoundBank.slots[i].state, SOUND_SLOT_FREE);
}

TEST_F(SoundBankTest, WithoutADeviceEveryLoadFails) {
    const std::string file = WriteSound("A.WAV", 20);
    SoundBank.device = false;
    EXPECT_EQ(LoadSound(file.c_str(), 224), -1);
    EXPECT_EQ(SoundBank.slots[0].state, SOUND_SLOT_FREE);
    SoundBank.device = true;
    EXPECT_EQ(LoadSound(file.c_str(), 224), 0);
}

TEST_F(SoundBankTest, ACutDataChunkIsPaddedWithSilence) {
    Bytes file = SimpleWave(Bytes(100, Loud));
    file.resize(file.size() - 60);
    const std::string name = Write("CUT.WAV", file);
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(LoadSound(name.c_str(), 224), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "volleen: sound " + name +
                  " is cut short: 60 of its 100 bytes are missing and play as silence\n");
    EXPECT_EQ(SoundBank.slots[0].size, 100);
    const std::vector<uint8_t>& samples = SoundBank.slots[0].buffer->samples;
    ASSERT_EQ(samples.size(), 100u);
    EXPECT_EQ(std::count(samples.begin(), samples.begin() + 40, Loud), 40);
    EXPECT_EQ(std::count(samples.begin() + 40, samples.end(), 128), 60);
}

TEST_F(SoundBankTest, GameSoundsTakeSlotsZeroToSixInOrder) {
    const char* files[] = {"BOING.WAV", "BUZZER.WAV", "SPIKE.WAV", "FIRE.WAV",
                           "SPLIT.WAV", "MENU.WAV",   "MUSIC.WAV"};
    for (size_t i = 0; i < 7; i++) WriteSound(files[i], 10 + i);
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    // Something loaded earlier goes: the game's sounds start from a reset bank.
    ASSERT_EQ(LoadSound("BOING.WAV", 0), 0);
    ASSERT_EQ(LoadSound("MUSIC.WAV", 0), 1);
    EXPECT_EQ(LoadGameSounds(), 1);
    std::filesystem::current_path(before);
    const int32_t ids[] = {BoingSoundId, BuzzerSoundId, SpikeSoundId, FireSoundId,
                           SplitSoundId, MenuSoundId,   MusicSoundId};
    for (int32_t i = 0; i < 7; i++) {
        EXPECT_EQ(ids[i], i);
        ASSERT_NE(SoundBank.slots[i].buffer, nullptr);
        EXPECT_EQ(SoundBank.slots[i].buffer->name, files[i]);
        EXPECT_EQ(SoundBank.slots[i].size, 10 + i);
    }
    EXPECT_EQ(SoundBank.slots[7].state, SOUND_SLOT_FREE);
}

TEST_F(SoundBankTest, AMissingGameSoundIsNamedAndSkipped) {
    WriteSound("BOING.WAV", 10);
    WriteSound("BUZZER.WAV", 10);
    WriteSound("FIRE.WAV", 10);
    WriteSound("SPLIT.WAV", 10);
    WriteSound("MENU.WAV", 10);
    WriteSound("MUSIC.WAV", 10);
    Write("SPIKE.WAV", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'});
    std::filesystem::remove(Path("MUSIC.WAV"));
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    ::testing::internal::CaptureStderr();
    LoadGameSounds();
    const std::string said = ::testing::internal::GetCapturedStderr();
    std::filesystem::current_path(before);
    EXPECT_EQ(BoingSoundId, 0);
    EXPECT_EQ(BuzzerSoundId, 1);
    EXPECT_EQ(SpikeSoundId, -1);
    EXPECT_EQ(FireSoundId, 2);
    EXPECT_EQ(SplitSoundId, 3);
    EXPECT_EQ(MenuSoundId, 4);
    EXPECT_EQ(MusicSoundId, -1);
    EXPECT_NE(said.find("volleen: sound SPIKE.WAV not loaded: not a RIFF WAVE file\n"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("volleen: sound MUSIC.WAV not loaded: no such file"), std::string::npos)
        << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
    // The missing sound is silent and harmless to play and stop.
    EXPECT_EQ(PlaySound(MusicSoundId, 1), 1);
    EXPECT_EQ(StopSound(MusicSoundId), 1);
    Pass(50);
    EXPECT_EQ(Loudest(Mixed()), 128);
}

TEST_F(SoundBankTest, IdsOutsideTheBankDoNothing) {
    const std::string file = WriteSound("A.WAV", 2000);
    ASSERT_EQ(LoadSound(file.c_str(), 224), 0);
    for (int32_t id : {-1, 1, 63, 64, 1000, INT32_MIN}) {
        EXPECT_EQ(PlaySound(id, 0), 1) << id;
        EXPECT_EQ(PlaySound(id, 1), 1) << id;
        EXPECT_EQ(StopSound(id), 1) << id;
    }
    Pass(100);
    EXPECT_EQ(Loudest(Mixed()), 128);
}

TEST_F(SoundBankTest, OnlyEightBitMonoAtElevenKilohertzIsTakenAndTheRestIsNamed) {
    const struct {
        Bytes format;
        const char* said;
    } refused[] = {
        {Format(1, 2, 44100, 16), "it is 16-bit stereo at 44100 Hz"},
        {Format(1, 1, 44100, 8), "it is 8-bit mono at 44100 Hz"},
        {Format(1, 0, 0, 8), "it is 8-bit 0 channels at 0 Hz"},
    };
    for (const auto& r : refused) {
        const std::string file =
            Write("ODD.WAV", Riff({Chunk("fmt ", r.format), Chunk("data", Bytes(64, Loud))}));
        std::string why;
        EXPECT_EQ(LoadSound(file.c_str(), 224, &why), -1) << r.said;
        EXPECT_EQ(why, std::string(r.said) + "; the game plays 8-bit mono at 11025 Hz");
    }
    EXPECT_EQ(SoundBank.slots[0].state, 0);
}

TEST_F(SoundBankTest, PlayingAPlayingSoundRestartsItWithoutASecondVoice) {
    const std::string file = WriteSound("A.WAV", 1103);  // 100 ms
    ASSERT_EQ(LoadSound(file.c_str(), 224), 0);
    ASSERT_EQ(PlaySound(0, 0), 1);
    Pass(50);
    ASSERT_EQ(PlaySound(0, 0), 1);
    Pass(200);
    const std::string mixed = Mixed();
    EXPECT_EQ(Loudest(mixed), Loud);
    // 50 ms of the first start, then the whole sound again from 50 ms on.
    EXPECT_EQ(CountOf(mixed, Loud), At(50) + 1103);
    EXPECT_EQ(CountOf(mixed, Loud, At(50) + 1103), 0u);
}

TEST_F(SoundBankTest, ALoopGoesOnUntilStoppedAndStartsAgainFromTheTop) {
    Bytes ramp(500);
    for (size_t i = 0; i < ramp.size(); i++) ramp[i] = static_cast<uint8_t>(129 + i % 100);
    const std::string file = Write("RAMP.WAV", SimpleWave(ramp));
    ASSERT_EQ(LoadSound(file.c_str(), 224), 0);
    ASSERT_EQ(PlaySound(0, 1), 1);
    Pass(400);  // about nine times round
    EXPECT_EQ(StopSound(0), 1);
    Pass(100);
    std::string mixed = Mixed();
    ASSERT_EQ(mixed.size(), At(500));
    for (size_t i = 0; i < At(400); i++) {
        ASSERT_EQ(static_cast<uint8_t>(mixed[i]), ramp[i % ramp.size()]) << "sample " << i;
    }
    EXPECT_EQ(CountOf(mixed, 128, At(400)), At(500) - At(400));
    // Stopped means rewound: the next play begins at the first sample.
    ASSERT_EQ(PlaySound(0, 0), 1);
    Pass(10);
    mixed = Mixed();
    EXPECT_EQ(static_cast<uint8_t>(mixed[At(500)]), ramp[0]);
    EXPECT_EQ(static_cast<uint8_t>(mixed[At(500) + 1]), ramp[1]);
}

TEST_F(SoundBankTest, StoppingASoundThatIsNotPlayingOnlyRewindsIt) {
    const std::string file = WriteSound("A.WAV", 1103);
    ASSERT_EQ(LoadSound(file.c_str(), 224), 0);
    EXPECT_EQ(StopSound(0), 1);
    Pass(20);
    EXPECT_EQ(Loudest(Mixed()), 128);
    ASSERT_EQ(PlaySound(0, 0), 1);
    Pass(200);
    EXPECT_EQ(CountOf(Mixed(), Loud), 1103u);
}

TEST_F(SoundBankTest, SeveralSoundsPlayTogetherAndStopAllSilencesThem) {
    const std::string a = WriteSound("A.WAV", 100, 140);
    const std::string b = WriteSound("B.WAV", 100, 150);
    ASSERT_EQ(LoadSound(a.c_str(), 224), 0);
    ASSERT_EQ(LoadSound(b.c_str(), 224), 1);
    PlaySound(0, 1);
    PlaySound(1, 1);
    Pass(100);
    EXPECT_EQ(StopAllSounds(), 1);
    Pass(100);
    const std::string mixed = Mixed();
    EXPECT_EQ(CountOf(mixed, 140 + 150 - 128, 0, At(100)), At(100));
    EXPECT_EQ(CountOf(mixed, 128, At(100)), At(200) - At(100));
}

TEST_F(SoundBankTest, ShutdownSilencesAndForgetsTheBuffers) {
    const std::string file = WriteSound("A.WAV", 100);
    ASSERT_EQ(LoadSound(file.c_str(), 224), 0);
    platform::SoundBuffer* buffer = SoundBank.slots[0].buffer;
    PlaySound(0, 1);
    Pass(50);
    EXPECT_EQ(SoundShutdown(), 1);
    EXPECT_FALSE(platform::mixer::IsKnown(buffer));
    EXPECT_EQ(SoundBank.slots[0].buffer, nullptr);
    EXPECT_EQ(SoundBank.slots[0].state, SOUND_SLOT_LOADED);  // the slots are not cleared
    EXPECT_FALSE(SoundBank.device);
    // Nothing after it reaches a released buffer; the device stays closed.
    EXPECT_EQ(PlaySound(0, 1), 1);
    EXPECT_EQ(StopSound(0), 1);
    EXPECT_EQ(SoundShutdown(), 1);
    EXPECT_EQ(SoundInit(), 1);
    EXPECT_EQ(LoadSound(file.c_str(), 224), -1);
    Pass(50);
    EXPECT_EQ(CountOf(Mixed(), Loud, At(50)), 0u);
}

}  // namespace
