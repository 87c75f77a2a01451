#include "sound/wave_file.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "common/byte_order.h"
#include "common/file_limits.h"
#include "common/file_read.h"
#include "common/file_write.h"

namespace {

bool IdIs(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

int32_t Fail(std::string* why, const std::string& text) {
    if (why != nullptr) *why = text;
    return 0;
}

// Offsets are 64-bit so that no 32-bit size read from the file can wrap them.
// Walks the chunks from `pos` while a whole chunk header lies before `end`;
// gives the offset of the header of the first chunk called `id`.
bool FindChunk(const uint8_t* bytes, uint64_t end, uint64_t pos, const char* id, uint64_t* at) {
    while (pos + 8 <= end) {
        if (IdIs(bytes + pos, id)) {
            *at = pos;
            return true;
        }
        const uint64_t size = ReadLe32(bytes + pos + 4);
        pos += 8 + size + (size & 1);  // contents are padded to an even length
    }
    return false;
}

// The outermost RIFF chunk of form "WAVE"; RIFF chunks of other forms are passed by.
bool FindWaveRiff(const uint8_t* bytes, uint64_t size, uint64_t* at) {
    uint64_t pos = 0;
    while (FindChunk(bytes, size, pos, "RIFF", &pos)) {
        if (pos + 12 <= size && IdIs(bytes + pos + 8, "WAVE")) {
            *at = pos;
            return true;
        }
        const uint64_t riffSize = ReadLe32(bytes + pos + 4);
        pos += 8 + riffSize + (riffSize & 1);
    }
    return false;
}

}  // namespace

int32_t ReadWave(const uint8_t* bytes, size_t size, WaveFile* wave, std::string* why) {
    if (bytes == nullptr && size != 0) size = 0;
    uint64_t riff = 0;
    if (!FindWaveRiff(bytes, size, &riff)) {
        return Fail(why, "not a RIFF WAVE file");
    }
    // The sub-chunks are searched for within the RIFF chunk's claimed contents,
    // and never past the end of the bytes we have.
    uint64_t riffEnd = riff + 8 + ReadLe32(bytes + riff + 4);
    if (riffEnd > size) riffEnd = size;

    uint64_t fmt = 0;
    if (!FindChunk(bytes, riffEnd, riff + 12, "fmt ", &fmt)) {
        return Fail(why, "no format chunk");
    }
    // Always 18 bytes, whatever the chunk says: a 16-byte chunk passes as long
    // as two more bytes follow it.
    const uint64_t format = fmt + 8;
    if (format + 18 > size) {
        return Fail(why, "format chunk cut short");
    }
    const uint16_t formatTag = ReadLe16(bytes + format);
    if (formatTag != 1) {
        return Fail(why, "format tag " + std::to_string(formatTag) + " is not PCM (1)");
    }
    const uint64_t formatSize = ReadLe32(bytes + fmt + 4);
    const uint64_t afterFormat = format + formatSize + (formatSize & 1);

    uint64_t data = 0;
    if (!FindChunk(bytes, riffEnd, afterFormat, "data", &data)) {
        return Fail(why, "no data chunk after the format chunk");
    }
    const uint64_t claimed = ReadLe32(bytes + data + 4);
    const uint64_t start = data + 8;
    const uint64_t present = size - start;  // the header fits, so start <= size
    if (claimed > present && claimed > MAX_WAVE_DATA_BYTES) {
        return Fail(why, "data chunk claims " + std::to_string(claimed) +
                             " bytes but the file holds " + std::to_string(present));
    }

    wave->formatTag = formatTag;
    wave->channels = ReadLe16(bytes + format + 2);
    wave->samplesPerSecond = ReadLe32(bytes + format + 4);
    wave->averageBytesPerSecond = ReadLe32(bytes + format + 8);
    wave->blockAlign = ReadLe16(bytes + format + 12);
    wave->bitsPerSample = ReadLe16(bytes + format + 14);
    // A data chunk cut short by the end of the file sounds silent where its
    // bytes are missing.
    const uint64_t copied = claimed < present ? claimed : present;
    wave->data.assign(static_cast<size_t>(claimed), 128);
    wave->missingBytes = static_cast<uint32_t>(claimed - copied);
    if (copied != 0) std::memcpy(wave->data.data(), bytes + start, static_cast<size_t>(copied));
    return 1;
}

int32_t ReadWaveFile(const char* name, WaveFile* wave, std::string* why) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(name, MAX_SOUND_FILE_BYTES, &bytes, why)) return 0;
    return ReadWave(bytes.data(), bytes.size(), wave, why);
}

int32_t MakeWaveFile(const uint8_t* samples, uint32_t count, uint32_t rate,
                     std::vector<uint8_t>* file, std::string* why) {
    const uint32_t pad = count & 1;
    if (count > UINT32_MAX - 36 - pad) {
        return Fail(why, "too many samples for one wave file");
    }
    file->assign(size_t{44} + count + pad, 0);
    uint8_t* header = file->data();
    std::memcpy(header, "RIFF", 4);
    WriteLe32(header + 4, 36 + count + pad);
    std::memcpy(header + 8, "WAVE", 4);
    std::memcpy(header + 12, "fmt ", 4);
    WriteLe32(header + 16, 16);
    WriteLe16(header + 20, 1);     // PCM
    WriteLe16(header + 22, 1);     // mono
    WriteLe32(header + 24, rate);  // samples per second
    WriteLe32(header + 28, rate);  // bytes per second: one byte a sample
    WriteLe16(header + 32, 1);     // block alignment
    WriteLe16(header + 34, 8);     // bits per sample
    std::memcpy(header + 36, "data", 4);
    WriteLe32(header + 40, count);
    if (count != 0) std::memcpy(header + 44, samples, count);
    return 1;
}

int32_t SaveWaveFile(const char* name, const uint8_t* samples, uint32_t count, uint32_t rate,
                     std::string* why) {
    std::vector<uint8_t> file;
    if (MakeWaveFile(samples, count, rate, &file, why) == 0) return 0;
    return WriteFileAtomically(name, file.data(), file.size(), why) ? 1 : 0;
}
