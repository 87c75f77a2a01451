// 8-bit bitmap files read into memory (and written, for the generator and
// screenshots).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/palette.h"

struct BitmapFileHeader {
    uint16_t bfType;
    uint32_t bfSize;
    uint16_t bfReserved1;
    uint16_t bfReserved2;
    uint32_t bfOffBits;
};

struct BitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};

struct BitmapFile {
    BitmapFileHeader fileHeader;
    BitmapInfoHeader infoHeader;
    Palette palette;
    uint8_t* pixels;  // rows top first, width * (bit count / 8) bytes each; null when empty
};

// The one record every picture passes through.
extern BitmapFile ScratchBitmap;

// 1 when the file is read; 0 when it cannot be, with the reason in `why`
// (when not null) to print after the file's name.
int32_t LoadBitmapFile(BitmapFile* file, const char* name, std::string* why = nullptr);
int32_t UnloadBitmapFile(BitmapFile* file);
// The same as LoadBitmapFile for a file already in memory (`size` bytes).
// A block too short to hold a file header leaves the record untouched.
int32_t LoadBitmapMemory(BitmapFile* file, const uint8_t* data, size_t size,
                         std::string* why = nullptr);
int32_t ReverseRows(uint8_t* block, uint32_t rowLength, int32_t rows);

// Makes the bytes of an 8-bit bitmap file in the standard layout (40-byte
// header, 256 colour-table entries, pixels at 1078, rows padded to 4 bytes).
// `pixels` are rows top first, `pitch` bytes apart. 1 on success, 0 on
// failure (with the reason in `why` when not null).
int32_t MakeBitmapFile(const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
                       const Palette& palette, std::vector<uint8_t>* file,
                       std::string* why = nullptr);
// Writes them to a file, never half written (WriteFileAtomically).
int32_t SaveBitmapFile(const char* name, const uint8_t* pixels, int32_t width, int32_t height,
                       int32_t pitch, const Palette& palette, std::string* why = nullptr);

// The part of an object's `width` x `height` rectangle that a loaded 8-bit
// file can fill: source cell (cx, cy) in cell mode (mode 0: cells of the
// object's size behind one-pixel lines), else the pixel (cx, cy). Rows and
// columns outside the file are cut off.
struct CellCut {
    int32_t sourceColumn;
    int32_t sourceRow;
    int32_t column;  // first column of the object filled
    int32_t row;     // first row of the object filled
    int32_t columns;
    int32_t rows;
};
// False when the file holds no 8-bit picture or the rectangle misses it.
bool CutCell(const BitmapFile* file, int32_t width, int32_t height, int32_t cx, int32_t cy,
             int32_t mode, CellCut* cut);
