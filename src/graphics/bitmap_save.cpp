#include <cstdio>

#include "graphics/bitmap_file.h"

namespace {

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

int32_t SaveBitmapFile(const char* name, const uint8_t* pixels, int32_t width, int32_t height,
                       int32_t pitch, const Palette& palette) {
    if (name == nullptr || pixels == nullptr || width <= 0 || height <= 0 || pitch < width) {
        return 0;
    }
    const uint32_t stride = (static_cast<uint32_t>(width) + 3u) & ~3u;
    const uint64_t imageSize = static_cast<uint64_t>(stride) * static_cast<uint32_t>(height);
    const uint32_t dataOffset = 14 + 40 + 1024;
    if (imageSize + dataOffset > 0xFFFFFFFFull) return 0;

    uint8_t head[dataOffset] = {};
    uint8_t* p = head;
    Put16(p, 0x4D42);
    Put32(p + 2, static_cast<uint32_t>(dataOffset + imageSize));
    Put32(p + 10, dataOffset);
    Put32(p + 14, 40);
    Put32(p + 18, static_cast<uint32_t>(width));
    Put32(p + 22, static_cast<uint32_t>(height));  // positive: bottom row first
    Put16(p + 26, 1);
    Put16(p + 28, 8);
    Put32(p + 34, static_cast<uint32_t>(imageSize));
    Put32(p + 38, 2835);  // 72 dots per inch
    Put32(p + 42, 2835);
    Put32(p + 46, 256);
    Put32(p + 50, 256);
    for (int n = 0; n < 256; ++n) {
        uint8_t* q = p + 54 + 4 * n;
        q[0] = palette.entries[n].blue;
        q[1] = palette.entries[n].green;
        q[2] = palette.entries[n].red;
        q[3] = 0;
    }

    // Written beside the target and renamed over it, so a reader never sees
    // half a file and a failed write leaves the old one.
    char temporary[4096];
    if (std::snprintf(temporary, sizeof temporary, "%s.tmp", name) >=
        static_cast<int>(sizeof temporary)) {
        return 0;
    }
    std::FILE* stream = std::fopen(temporary, "wb");
    if (stream == nullptr) return 0;
    bool ok = std::fwrite(head, 1, sizeof head, stream) == sizeof head;
    const uint8_t padding[3] = {0, 0, 0};
    const size_t padCount = stride - static_cast<uint32_t>(width);
    for (int32_t r = height - 1; ok && r >= 0; --r) {
        const uint8_t* row = pixels + static_cast<int64_t>(r) * pitch;
        ok = std::fwrite(row, 1, static_cast<size_t>(width), stream) == static_cast<size_t>(width);
        if (ok && padCount > 0) ok = std::fwrite(padding, 1, padCount, stream) == padCount;
    }
    ok = std::fclose(stream) == 0 && ok;
    if (!ok || std::rename(temporary, name) != 0) {
        std::remove(temporary);
        return 0;
    }
    return 1;
}
