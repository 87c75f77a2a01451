// CRC-32 as zlib computes it (reflected, polynomial 0xEDB88320): the traces'
// palettes, and the match state that replays and online play compare.
#pragma once

#include <cstddef>
#include <cstdint>

uint32_t Crc32(const uint8_t* bytes, size_t count);
