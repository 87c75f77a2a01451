// RIFF/WAVE files: the reader the sound bank loads with, and a writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct WaveFile {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSecond;
    uint32_t averageBytesPerSecond;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    std::vector<uint8_t> data;  // the data chunk's bytes as they stand
    uint32_t missingBytes;      // how many of them the file did not hold
};

// A data chunk may claim more bytes than the file holds; the missing part is
// silence (128). Claims beyond this size that the file does not back are
// refused: 16 MiB is over 25 minutes at 11025 samples a second.
constexpr uint32_t MAX_WAVE_DATA_BYTES = 16u << 20;

// Each call gives 1 on success; 0 on failure, with the reason in `why` (when
// not null) to print after the file's name.

// Reads a wave file from memory: fails when the bytes are not a usable PCM
// wave file. Never reads outside `bytes`.
int32_t ReadWave(const uint8_t* bytes, size_t size, WaveFile* wave, std::string* why = nullptr);
// Reads the named file the same way; fails also when it cannot be read.
int32_t ReadWaveFile(const char* name, WaveFile* wave, std::string* why = nullptr);

// Makes the bytes of a wave file of 8-bit unsigned mono PCM at `rate`, with
// the canonical 44-byte header.
int32_t MakeWaveFile(const uint8_t* samples, uint32_t count, uint32_t rate,
                     std::vector<uint8_t>* file, std::string* why = nullptr);
// Writes them to a file, never half written (WriteFileAtomically).
int32_t SaveWaveFile(const char* name, const uint8_t* samples, uint32_t count, uint32_t rate,
                     std::string* why = nullptr);
