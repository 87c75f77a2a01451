// Little-endian integers, as every file the game reads and writes stores them
// (bitmaps, waves, keys.dat), whatever the machine's own order.
#pragma once

#include <cstdint>
#include <vector>

inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

inline uint32_t ReadLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The low 16 bits of `value`.
inline void WriteLe16(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

inline void WriteLe32(uint8_t* p, uint32_t value) {
    WriteLe16(p, value);
    WriteLe16(p + 2, value >> 16);
}

inline void AppendLe16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void AppendLe32(std::vector<uint8_t>& out, uint32_t value) {
    AppendLe16(out, value);
    AppendLe16(out, value >> 16);
}
