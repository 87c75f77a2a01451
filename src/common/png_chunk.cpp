#include "common/png_chunk.h"

#include "common/crc32.h"

void AppendBe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void AppendPngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    AppendBe32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    AppendBe32(out, Crc32(out.data() + typeAt, out.size() - typeAt));
}
