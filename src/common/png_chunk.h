// The pieces of a PNG file that the game's screenshots and the generator's
// icons both write: big-endian numbers and chunks with their CRC-32.
#pragma once

#include <cstdint>
#include <vector>

constexpr uint8_t PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void AppendBe32(std::vector<uint8_t>& out, uint32_t value);
// Length, type, data, and the CRC-32 of the type and data.
void AppendPngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data);
