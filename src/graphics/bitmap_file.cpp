#include "graphics/bitmap_file.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/byte_order.h"
#include "common/file_limits.h"
#include "common/file_read.h"

BitmapFile ScratchBitmap;

namespace {

constexpr uint16_t BitmapMagic = 0x4D42;  // "BM"
constexpr size_t FileHeaderSize = 14;
constexpr size_t InfoHeaderSize = 40;
// Pictures beyond these are no game picture: refuse rather than take memory.
constexpr int64_t MaxSide = 32768;
constexpr int64_t MaxPixelBytes = 64 * 1024 * 1024;

BitmapFileHeader ReadFileHeader(const uint8_t* p) {
    BitmapFileHeader h;
    h.bfType = ReadLe16(p);
    h.bfSize = ReadLe32(p + 2);
    h.bfReserved1 = ReadLe16(p + 6);
    h.bfReserved2 = ReadLe16(p + 8);
    h.bfOffBits = ReadLe32(p + 10);
    return h;
}

BitmapInfoHeader ReadInfoHeader(const uint8_t* p) {
    BitmapInfoHeader h;
    h.biSize = ReadLe32(p);
    h.biWidth = static_cast<int32_t>(ReadLe32(p + 4));
    h.biHeight = static_cast<int32_t>(ReadLe32(p + 8));
    h.biPlanes = ReadLe16(p + 12);
    h.biBitCount = ReadLe16(p + 14);
    h.biCompression = ReadLe32(p + 16);
    h.biSizeImage = ReadLe32(p + 20);
    h.biXPelsPerMeter = static_cast<int32_t>(ReadLe32(p + 24));
    h.biYPelsPerMeter = static_cast<int32_t>(ReadLe32(p + 28));
    h.biClrUsed = ReadLe32(p + 32);
    h.biClrImportant = ReadLe32(p + 36);
    return h;
}

// Where and how the pixels of an acceptable file lie.
struct PixelLayout {
    int64_t rows;         // picture rows
    int64_t fileRow;      // bytes of one row's pixels in the file
    int64_t fileStride;   // distance between rows in the file (padded to 4)
    int64_t memoryRow;    // bytes of one row in memory (24-bit rows become 16-bit)
    int64_t dataOffset;   // first pixel byte in the file
    uint32_t tableCount;  // colour-table entries present in the file
    bool topDown;
};

// Decides whether the headers describe a picture that can be read safely
// from `size` bytes, and where its pixels are; null when they do, else why not.
const char* Examine(const BitmapFileHeader& fh, const BitmapInfoHeader& ih, size_t size,
                    PixelLayout& layout) {
    if (ih.biSize != 40 && ih.biSize != 108 && ih.biSize != 124) return "an unknown header size";
    if (FileHeaderSize + ih.biSize > size) return "cut short in its header";
    if (ih.biCompression != 0) return "compressed";
    if (ih.biBitCount != 8 && ih.biBitCount != 16 && ih.biBitCount != 24) {
        return "neither 8, 16 nor 24 bits a pixel";
    }
    const int64_t width = ih.biWidth;
    const int64_t rows = ih.biHeight < 0 ? -static_cast<int64_t>(ih.biHeight) : ih.biHeight;
    if (width <= 0 || width > MaxSide || rows <= 0 || rows > MaxSide) {
        return "a width or height out of range";
    }

    const int64_t bytesPerPixel = ih.biBitCount / 8;
    layout.rows = rows;
    layout.topDown = ih.biHeight < 0;
    layout.fileRow = width * bytesPerPixel;
    layout.fileStride = (layout.fileRow + 3) & ~int64_t{3};
    layout.memoryRow = width * (ih.biBitCount == 24 ? 2 : bytesPerPixel);
    if (layout.memoryRow * rows > MaxPixelBytes) return "too large a picture";
    // A filled-in image size smaller than the rows it must hold is a lie.
    if (ih.biSizeImage != 0 && ih.biSizeImage < layout.fileStride * rows) {
        return "an image size too small for its rows";
    }

    if (ih.biClrUsed > 256) return "more than 256 colours";
    layout.tableCount = ih.biClrUsed;
    if (ih.biBitCount == 8 && layout.tableCount == 0) layout.tableCount = 256;
    const int64_t tableOffset = static_cast<int64_t>(FileHeaderSize) + ih.biSize;
    const int64_t natural = tableOffset + 4 * static_cast<int64_t>(layout.tableCount);
    if (natural > static_cast<int64_t>(size)) return "cut short in its colour table";

    // The classic layout (40-byte header, full table) has its pixels right
    // behind the table whatever the offset field says; other writers put
    // them where the offset field points.
    const bool classic = ih.biSize == InfoHeaderSize &&
                         (ih.biBitCount == 8 ? layout.tableCount == 256 : ih.biClrUsed == 0);
    layout.dataOffset = natural;
    if (!classic && fh.bfOffBits > natural) layout.dataOffset = fh.bfOffBits;

    // The last row's padding may be missing; its pixels may not.
    const int64_t needed = layout.fileStride * (rows - 1) + layout.fileRow;
    if (layout.dataOffset + needed > static_cast<int64_t>(size)) return "cut short in its pixels";
    return nullptr;
}

int32_t Refuse(std::string* why, const char* text) {
    if (why != nullptr) *why = text;
    return 0;
}

void ReadColourTable(Palette& palette, const uint8_t* table, uint32_t count) {
    // The file's entries are blue, green, red, reserved.
    for (uint32_t n = 0; n < 256; ++n) {
        PaletteEntry& e = palette.entries[n];
        if (n < count) {
            e.red = table[4 * n + 2];
            e.green = table[4 * n + 1];
            e.blue = table[4 * n];
        } else {
            e.red = e.green = e.blue = 0;
        }
        e.flags = PALETTE_FLAGS;
    }
}

// Five bits per colour, red highest, bit 15 clear.
void ConvertRow24(uint8_t* out, const uint8_t* in, int64_t width) {
    for (int64_t c = 0; c < width; ++c) {
        const uint8_t blue = in[3 * c];
        const uint8_t green = in[3 * c + 1];
        const uint8_t red = in[3 * c + 2];
        const uint16_t word =
            static_cast<uint16_t>((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3));
        std::memcpy(out + 2 * c, &word, 2);
    }
}

}  // namespace

int32_t LoadBitmapMemory(BitmapFile* file, const uint8_t* data, size_t size, std::string* why) {
    if (file == nullptr || data == nullptr || size < FileHeaderSize) {
        return Refuse(why, "too short for a bitmap file");
    }
    file->fileHeader = ReadFileHeader(data);
    if (file->fileHeader.bfType != BitmapMagic) return Refuse(why, "not a bitmap file");
    if (size < FileHeaderSize + InfoHeaderSize) return Refuse(why, "cut short in its header");

    // Nothing beyond the file header changes until the whole file is known
    // to be readable, so a refused file leaves the old picture consistent.
    BitmapInfoHeader info = ReadInfoHeader(data + FileHeaderSize);
    PixelLayout layout;
    if (const char* wrong = Examine(file->fileHeader, info, size, layout)) {
        return Refuse(why, wrong);
    }

    const uint16_t bits = info.biBitCount;
    if (bits == 8) {
        ReadColourTable(file->palette, data + FileHeaderSize + info.biSize, layout.tableCount);
    }
    // The record always holds rows top first, unpadded, so its header says so.
    info.biHeight = static_cast<int32_t>(layout.rows);
    info.biSizeImage = static_cast<uint32_t>(layout.memoryRow * layout.rows);
    if (bits == 24) info.biBitCount = 16;
    file->infoHeader = info;

    std::free(file->pixels);
    file->pixels = nullptr;
    uint8_t* block = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(info.biSizeImage)));
    if (block == nullptr) return Refuse(why, "no memory for its pixels");
    file->pixels = block;

    for (int64_t r = 0; r < layout.rows; ++r) {
        const uint8_t* in = data + layout.dataOffset + r * layout.fileStride;
        uint8_t* out = block + r * layout.memoryRow;
        if (bits == 24) {
            ConvertRow24(out, in, info.biWidth);
        } else {
            std::memcpy(out, in, static_cast<size_t>(layout.fileRow));
        }
    }
    if (!layout.topDown && !ReverseRows(block, static_cast<uint32_t>(layout.memoryRow),
                                        static_cast<int32_t>(layout.rows))) {
        return Refuse(why, "no memory for its pixels");
    }
    return 1;
}

int32_t LoadBitmapFile(BitmapFile* file, const char* name, std::string* why) {
    if (file == nullptr || name == nullptr) return Refuse(why, "no file named");
    // The whole file, up to what any acceptable picture could need.
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(name, MAX_PICTURE_FILE_BYTES, &bytes, why)) return 0;
    return LoadBitmapMemory(file, bytes.data(), bytes.size(), why);
}

int32_t UnloadBitmapFile(BitmapFile* file) {
    if (file == nullptr) return 0;
    if (file->pixels != nullptr) {
        std::free(file->pixels);
        file->pixels = nullptr;
    }
    return 1;
}

int32_t ReverseRows(uint8_t* block, uint32_t rowLength, int32_t rows) {
    if (rows <= 0 || rowLength == 0) return 1;
    if (block == nullptr) return 0;
    const size_t length = rowLength;
    uint8_t* work = static_cast<uint8_t*>(std::malloc(length * static_cast<size_t>(rows)));
    if (work == nullptr) return 0;
    std::memcpy(work, block, length * static_cast<size_t>(rows));
    for (int32_t i = 0; i < rows; ++i) {
        std::memcpy(block + static_cast<size_t>(rows - 1 - i) * length, work + i * length, length);
    }
    std::free(work);
    return 1;
}

bool CutCell(const BitmapFile* file, int32_t width, int32_t height, int32_t cx, int32_t cy,
             int32_t mode, CellCut* cut) {
    if (file == nullptr || file->pixels == nullptr || cut == nullptr) return false;
    if (file->infoHeader.biBitCount != 8) return false;
    const int64_t fileWidth = file->infoHeader.biWidth;
    const int64_t fileHeight = file->infoHeader.biHeight;
    if (fileWidth <= 0 || fileHeight <= 0 || width <= 0 || height <= 0) return false;

    int64_t column = cx;
    int64_t row = cy;
    if (mode == 0) {
        column = static_cast<int64_t>(cx) * (width + 1) + 1;
        row = static_cast<int64_t>(cy) * (height + 1) + 1;
    }
    // Intersect [column, column + width) x [row, row + height) with the file.
    const int64_t left = column < 0 ? 0 : column;
    const int64_t top = row < 0 ? 0 : row;
    const int64_t right = column + width < fileWidth ? column + width : fileWidth;
    const int64_t bottom = row + height < fileHeight ? row + height : fileHeight;
    if (left >= right || top >= bottom) return false;

    cut->sourceColumn = static_cast<int32_t>(left);
    cut->sourceRow = static_cast<int32_t>(top);
    cut->column = static_cast<int32_t>(left - column);
    cut->row = static_cast<int32_t>(top - row);
    cut->columns = static_cast<int32_t>(right - left);
    cut->rows = static_cast<int32_t>(bottom - top);
    return true;
}
