#include <cstring>
#include <vector>

#include "common/byte_order.h"
#include "common/file_write.h"
#include "graphics/bitmap_file.h"

int32_t MakeBitmapFile(const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
                       const Palette& palette, std::vector<uint8_t>* file, std::string* why) {
    if (pixels == nullptr || width <= 0 || height <= 0 || pitch < width) {
        if (why != nullptr) *why = "no picture to write";
        return 0;
    }
    const uint32_t stride = (static_cast<uint32_t>(width) + 3u) & ~3u;
    const uint64_t imageSize = static_cast<uint64_t>(stride) * static_cast<uint32_t>(height);
    const uint32_t dataOffset = 14 + 40 + 1024;
    if (imageSize + dataOffset > 0xFFFFFFFFull) {
        if (why != nullptr) *why = "too large a picture for one file";
        return 0;
    }

    file->assign(dataOffset + imageSize, 0);
    uint8_t* p = file->data();
    WriteLe16(p, 0x4D42);
    WriteLe32(p + 2, static_cast<uint32_t>(dataOffset + imageSize));
    WriteLe32(p + 10, dataOffset);
    WriteLe32(p + 14, 40);
    WriteLe32(p + 18, static_cast<uint32_t>(width));
    WriteLe32(p + 22, static_cast<uint32_t>(height));  // positive: bottom row first
    WriteLe16(p + 26, 1);
    WriteLe16(p + 28, 8);
    WriteLe32(p + 34, static_cast<uint32_t>(imageSize));
    WriteLe32(p + 38, 2835);  // 72 dots per inch
    WriteLe32(p + 42, 2835);
    WriteLe32(p + 46, 256);
    WriteLe32(p + 50, 256);
    for (int n = 0; n < 256; ++n) {
        uint8_t* q = p + 54 + 4 * n;
        q[0] = palette.entries[n].blue;
        q[1] = palette.entries[n].green;
        q[2] = palette.entries[n].red;
        q[3] = 0;
    }

    // Rows bottom first, each padded with zeros to a multiple of four bytes.
    uint8_t* out = p + dataOffset;
    for (int32_t r = height - 1; r >= 0; --r, out += stride) {
        std::memcpy(out, pixels + static_cast<int64_t>(r) * pitch, static_cast<size_t>(width));
    }
    return 1;
}

int32_t SaveBitmapFile(const char* name, const uint8_t* pixels, int32_t width, int32_t height,
                       int32_t pitch, const Palette& palette, std::string* why) {
    std::vector<uint8_t> file;
    if (name == nullptr || MakeBitmapFile(pixels, width, height, pitch, palette, &file, why) == 0) {
        if (name == nullptr && why != nullptr) *why = "no picture to write";
        return 0;
    }
    return WriteFileAtomically(name, file.data(), file.size(), why) ? 1 : 0;
}
