// Builds wave files byte by byte, so that tests can lay chunks out any way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_order.h"

namespace wavetest {

using Bytes = std::vector<uint8_t>;

// Byte by byte: GCC 12's optimiser takes a four-byte range insert here for
// an overflow (a false stringop-overflow warning in release builds).
inline void PutId(Bytes& out, const char* id) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(id[i]));
}

// A chunk with its contents padded to an even length; `claimed` overrides the
// size written in its header.
inline Bytes Chunk(const char* id, const Bytes& contents, int64_t claimed = -1) {
    Bytes out;
    PutId(out, id);
    AppendLe32(
        out, claimed < 0 ? static_cast<uint32_t>(contents.size()) : static_cast<uint32_t>(claimed));
    out.insert(out.end(), contents.begin(), contents.end());
    if (contents.size() & 1) out.push_back(0);
    return out;
}

// Format contents: 16 bytes, or 18 with the extra-size field.
inline Bytes Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                    bool withExtra = false) {
    Bytes out;
    AppendLe16(out, tag);
    AppendLe16(out, channels);
    AppendLe32(out, rate);
    AppendLe32(out, rate * channels * (bits / 8));
    AppendLe16(out, channels * (bits / 8));
    AppendLe16(out, bits);
    if (withExtra) AppendLe16(out, 0);
    return out;
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// The RIFF chunk of form `form` around the given sub-chunks.
inline Bytes Riff(std::initializer_list<Bytes> chunks, const char* form = "WAVE",
                  int64_t claimed = -1) {
    Bytes contents;
    PutId(contents, form);
    for (const Bytes& chunk : chunks) contents.insert(contents.end(), chunk.begin(), chunk.end());
    return Chunk("RIFF", contents, claimed);
}

inline Bytes Samples(size_t count, uint8_t first = 0) {
    Bytes out(count);
    for (size_t i = 0; i < count; i++) out[i] = static_cast<uint8_t>(first + i);
    return out;
}

// A plain 8-bit mono file with a 16-byte format chunk.
inline Bytes SimpleWave(const Bytes& samples, uint32_t rate = 11025) {
    return Riff({Chunk("fmt ", Format(1, 1, rate, 8)), Chunk("data", samples)});
}

}  // namespace wavetest
