// The wave reader on laid-out bytes, and the writer's files.
#include "sound/wave_file.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "sound/wave_bytes.h"
#include "support/files.h"

namespace {

using namespace wavetest;

std::string Why;  // the reason the last Read gave

int32_t Read(const Bytes& bytes, WaveFile* wave) {
    return ReadWave(bytes.data(), bytes.size(), wave, &Why);
}

TEST(ReadWave, TakesThePlainFileAndItsFields) {
    const Bytes samples = Samples(101, 7);
    WaveFile wave{};
    ASSERT_EQ(Read(SimpleWave(samples, 22050), &wave), 1) << Why;
    EXPECT_EQ(wave.formatTag, 1);
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.samplesPerSecond, 22050u);
    EXPECT_EQ(wave.averageBytesPerSecond, 22050u);
    EXPECT_EQ(wave.blockAlign, 1);
    EXPECT_EQ(wave.bitsPerSample, 8);
    EXPECT_EQ(wave.data, samples);
}

TEST(ReadWave, KeepsSixteenBitAndStereoBytesAsTheyStand) {
    const Bytes samples = Samples(40, 100);
    WaveFile wave{};
    ASSERT_EQ(
        Read(Riff({Chunk("fmt ", Format(1, 2, 44100, 16, true)), Chunk("data", samples)}), &wave),
        1);
    EXPECT_EQ(wave.channels, 2);
    EXPECT_EQ(wave.bitsPerSample, 16);
    EXPECT_EQ(wave.data, samples);
}

TEST(ReadWave, SkipsOtherChunksAndTheirPadding) {
    const Bytes samples = Samples(9, 50);
    // Odd-sized chunks before and after the format chunk; a stray "data"
    // name inside a skipped chunk's contents must not be taken.
    const Bytes decoy = Cat({Bytes{'d', 'a', 't', 'a', 1, 0, 0}});
    const Bytes file = Riff({Chunk("LIST", Samples(3)), Chunk("fmt ", Format(1, 1, 8000, 8, true)),
                             Chunk("fact", decoy), Chunk("data", samples)});
    WaveFile wave{};
    ASSERT_EQ(Read(file, &wave), 1) << Why;
    EXPECT_EQ(wave.samplesPerSecond, 8000u);
    EXPECT_EQ(wave.data, samples);
}

TEST(ReadWave, HonoursAnOddFormatChunkSize) {
    Bytes format = Format(1, 1, 11025, 8, true);
    format.push_back(0x55);  // 19 bytes: one pad byte follows
    const Bytes samples = Samples(4, 1);
    WaveFile wave{};
    ASSERT_EQ(Read(Riff({Chunk("fmt ", format), Chunk("data", samples)}), &wave), 1);
    EXPECT_EQ(wave.data, samples);
}

TEST(ReadWave, RefusesWhatIsNotAPcmWave) {
    WaveFile wave{};
    EXPECT_EQ(Read(Bytes{}, &wave), 0);
    EXPECT_EQ(ReadWave(nullptr, 0, &wave), 0);
    EXPECT_EQ(Read(Bytes{'R', 'I', 'F', 'F'}, &wave), 0);
    // Another RIFF form.
    EXPECT_EQ(Read(Riff({Chunk("fmt ", Format(1, 1, 11025, 8)), Chunk("data", Samples(4))}, "AVI "),
                   &wave),
              0);
    // Format tag 3 (floating point) and 2 (ADPCM).
    EXPECT_EQ(
        Read(Riff({Chunk("fmt ", Format(3, 1, 11025, 32)), Chunk("data", Samples(8))}), &wave), 0);
    EXPECT_EQ(Read(Riff({Chunk("fmt ", Format(2, 1, 11025, 4)), Chunk("data", Samples(8))}), &wave),
              0);
    // No format chunk; no data chunk.
    EXPECT_EQ(Read(Riff({Chunk("data", Samples(8))}), &wave), 0);
    EXPECT_EQ(Read(Riff({Chunk("fmt ", Format(1, 1, 11025, 8))}), &wave), 0);
}

TEST(ReadWave, RefusesADataChunkBeforeTheFormatChunk) {
    WaveFile wave{};
    EXPECT_EQ(
        Read(Riff({Chunk("data", Samples(8)), Chunk("fmt ", Format(1, 1, 11025, 8, true))}), &wave),
        0);
    EXPECT_NE(Why.find("data"), std::string::npos) << Why;
}

TEST(ReadWave, FindsTheWaveBehindAnotherTopLevelChunk) {
    const Bytes samples = Samples(6, 30);
    const Bytes file = Cat({Riff({Chunk("data", Samples(2))}, "AVI "), Chunk("JUNK", Samples(5)),
                            SimpleWave(samples)});
    WaveFile wave{};
    ASSERT_EQ(Read(file, &wave), 1) << Why;
    EXPECT_EQ(wave.data, samples);
}

TEST(ReadWave, ReadsEighteenFormatBytesWhateverTheChunkSays) {
    // A 16-byte format chunk right at the end of the file: two bytes short.
    Bytes file = Riff({Chunk("fmt ", Format(1, 1, 11025, 8))});
    WaveFile wave{};
    EXPECT_EQ(Read(file, &wave), 0);
    file.push_back(0);
    EXPECT_EQ(Read(file, &wave), 0);  // one byte after it is still too few
    // A format chunk that claims 4 bytes still gives its 18 bytes, and the
    // data search starts after those 4.
    const Bytes samples = Samples(20, 90);
    Bytes shortFormat = Chunk("fmt ", Format(1, 1, 11025, 8), 4);
    shortFormat.resize(8 + 4);
    const Bytes shortFile = Riff({shortFormat, Chunk("data", samples)});
    ASSERT_EQ(Read(shortFile, &wave), 1) << Why;
    EXPECT_EQ(wave.samplesPerSecond, 0x61746164u);  // the "data" name read as the rate
    EXPECT_EQ(wave.data, samples);
}

TEST(ReadWave, SearchesOnlyWithinTheRiffChunk) {
    // The RIFF chunk claims to end right after the format chunk: the data
    // chunk that follows lies outside it.
    const Bytes fmt = Chunk("fmt ", Format(1, 1, 11025, 8));
    const Bytes file =
        Cat({Riff({fmt}, "WAVE", 4 + static_cast<int64_t>(fmt.size())), Chunk("data", Samples(8))});
    WaveFile wave{};
    EXPECT_EQ(Read(file, &wave), 0);
    // A RIFF chunk that claims more than the file holds is searched to the end.
    const Bytes longer = Riff({fmt, Chunk("data", Samples(8))}, "WAVE", 100000);
    EXPECT_EQ(Read(longer, &wave), 1) << Why;
}

TEST(ReadWave, FillsTheMissingPartOfACutDataChunkWithSilence) {
    const Bytes samples = Samples(60, 1);
    Bytes file = SimpleWave(samples);
    const size_t header = file.size() - samples.size();
    // Every cut of the file: before the data chunk's header it is refused,
    // after it the data keeps its claimed size.
    for (size_t cut = 0; cut < file.size(); cut++) {
        const Bytes prefix(file.begin(), file.begin() + cut);
        WaveFile wave{};
        const int32_t result = Read(prefix, &wave);
        if (cut < header) {
            EXPECT_EQ(result, 0) << "cut at " << cut;
            continue;
        }
        ASSERT_EQ(result, 1) << "cut at " << cut;
        ASSERT_EQ(wave.data.size(), samples.size());
        const size_t kept = cut - header;
        for (size_t i = 0; i < samples.size(); i++) {
            ASSERT_EQ(wave.data[i], i < kept ? samples[i] : 128) << "cut " << cut << " byte " << i;
        }
    }
}

TEST(ReadWave, CapsClaimsTheFileCannotBack) {
    const Bytes fmt = Chunk("fmt ", Format(1, 1, 11025, 8));
    Bytes dataHeader;
    PutId(dataHeader, "data");
    WaveFile wave{};
    for (uint32_t claim : {MAX_WAVE_DATA_BYTES + 1, 0xFFFFFFFFu, 0x80000000u}) {
        Bytes header = dataHeader;
        AppendLe32(header, claim);
        const Bytes file = Riff({fmt, Cat({header, Samples(10)})});
        EXPECT_EQ(Read(file, &wave), 0) << "claim " << claim;
    }
    // Up to the cap a claim is honoured.
    Bytes header = dataHeader;
    AppendLe32(header, MAX_WAVE_DATA_BYTES);
    ASSERT_EQ(Read(Riff({fmt, Cat({header, Samples(10, 5)})}), &wave), 1);
    ASSERT_EQ(wave.data.size(), MAX_WAVE_DATA_BYTES);
    EXPECT_EQ(wave.data[9], 14);
    EXPECT_EQ(wave.data[10], 128);
    EXPECT_EQ(wave.data.back(), 128);
}

TEST(ReadWave, SurvivesChunkSizesThatRunPastTheEnd) {
    // Sizes near 2^32 must not wrap the search back into the file.
    const Bytes fmt = Chunk("fmt ", Format(1, 1, 11025, 8));
    WaveFile wave{};
    EXPECT_EQ(
        Read(Riff({Chunk("LIST", Samples(4), 0xFFFFFFFF), fmt, Chunk("data", Samples(8))}), &wave),
        0);
    EXPECT_EQ(
        Read(Riff({Chunk("fmt ", Format(1, 1, 11025, 8), 0xFFFFFFF8), Chunk("data", Samples(8))}),
             &wave),
        0);
    EXPECT_EQ(Read(Riff({Chunk("LIST", Samples(4), 0xFFFFFFFE), fmt}, "WAVE", 0xFFFFFFFF), &wave),
              0);
}

class WaveFiles : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return dir_.Path(name); }
    support::TempFolder dir_{"volleen-wave"};
};

using support::ReadFileBytes;

TEST_F(WaveFiles, SavesTheCanonicalHeader) {
    const Bytes samples = Samples(10, 120);
    const std::string path = Path("TEN.WAV");
    ASSERT_EQ(SaveWaveFile(path.c_str(), samples.data(), 10, 22050, &Why), 1) << Why;
    const Bytes expected = SimpleWave(samples, 22050);
    EXPECT_EQ(ReadFileBytes(path), expected);
    EXPECT_EQ(expected.size(), 44u + 10u);
}

TEST_F(WaveFiles, PadsAnOddDataChunkAndReadsItBack) {
    const Bytes samples = Samples(7, 200);
    const std::string path = Path("ODD.WAV");
    ASSERT_EQ(SaveWaveFile(path.c_str(), samples.data(), 7, 11025), 1);
    const Bytes file = ReadFileBytes(path);
    ASSERT_EQ(file.size(), 44u + 8u);
    EXPECT_EQ(ReadLe32(&file[4]), 36u + 8u);  // the RIFF size counts the pad byte
    EXPECT_EQ(file[40], 7);                   // the data size does not
    WaveFile wave{};
    ASSERT_EQ(ReadWaveFile(path.c_str(), &wave), 1);
    EXPECT_EQ(wave.data, samples);
    EXPECT_EQ(wave.samplesPerSecond, 11025u);
}

TEST_F(WaveFiles, ReplacesAnOlderFileWhole) {
    const std::string path = Path("SAME.WAV");
    const Bytes longer = Samples(500, 3);
    const Bytes shorter = Samples(5, 9);
    ASSERT_EQ(SaveWaveFile(path.c_str(), longer.data(), 500, 11025), 1);
    ASSERT_EQ(SaveWaveFile(path.c_str(), shorter.data(), 5, 11025), 1);
    EXPECT_EQ(ReadFileBytes(path), SimpleWave(shorter));
}

TEST_F(WaveFiles, ReportsWhatCouldNotBeDone) {
    WaveFile wave{};
    std::string why;
    EXPECT_EQ(ReadWaveFile(Path("MISSING.WAV").c_str(), &wave, &why), 0);
    EXPECT_EQ(why, "no such file");
    // A folder opens but cannot be read.
    EXPECT_EQ(ReadWaveFile(dir_.path().c_str(), &wave, &why), 0);
    EXPECT_EQ(why, "is a directory");
    const Bytes samples = Samples(4);
    EXPECT_EQ(SaveWaveFile(Path("NOFOLDER/X.WAV").c_str(), samples.data(), 4, 11025, &why), 0);
    EXPECT_NE(why.find("temporary file"), std::string::npos) << why;
}

}  // namespace
