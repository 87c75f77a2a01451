// PNG for the desktop's icons: one palette, index 0 transparent like the
// game's colour key, rows deflated by zlib.
#include <zlib.h>

#include <cstdio>
#include <vector>

#include "canvas.h"
#include "common/file_write.h"
#include "common/png_chunk.h"

namespace gen {

bool SavePng(const Canvas& canvas, const std::string& path, const Palette& palette) {
    const int width = canvas.Width();
    const int height = canvas.Height();
    std::vector<uint8_t> header;
    AppendBe32(header, static_cast<uint32_t>(width));
    AppendBe32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 3, 0, 0, 0});  // 8-bit indices, deflate, no interlace

    std::vector<uint8_t> colours;
    for (const PaletteEntry& entry : palette.entries) {
        colours.insert(colours.end(), {entry.red, entry.green, entry.blue});
    }

    std::vector<uint8_t> rows;
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // no filter
        const uint8_t* row = canvas.Pixels() + static_cast<size_t>(y) * canvas.surface.pitch;
        rows.insert(rows.end(), row, row + width);
    }
    uLongf packedSize = compressBound(rows.size());
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), rows.size(), Z_BEST_COMPRESSION) !=
        Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> file(PNG_SIGNATURE, PNG_SIGNATURE + 8);
    AppendPngChunk(file, "IHDR", header);
    AppendPngChunk(file, "PLTE", colours);
    AppendPngChunk(file, "tRNS", {0});
    AppendPngChunk(file, "IDAT", packed);
    AppendPngChunk(file, "IEND", {});
    std::string why;
    if (!WriteFileAtomically(path.c_str(), file.data(), file.size(), &why)) {
        std::fprintf(stderr, "volleen-generate: cannot write %s: %s\n", path.c_str(), why.c_str());
        return false;
    }
    return true;
}

}  // namespace gen
