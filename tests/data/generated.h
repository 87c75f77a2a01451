// The generated data, written once per test program into a fresh folder by
// the real generator binary, and helpers to read it back through the game's
// own loaders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/bitmap_file.h"
#include "sound/wave_file.h"
#include "support/files.h"

namespace data_test {

using support::ReadFileBytes;

// The folder holding one fresh run of the generator (made on first use).
const std::string& Folder();
// Runs the generator into `folder`; its exit status.
int RunGenerator(const std::string& folder);

// A picture read with LoadBitmapFile: pixels top row first.
struct Picture {
    int width = 0, height = 0, bits = 0;
    uint32_t sizeImage = 0, offBits = 0, fileSize = 0;
    Palette palette{};
    std::vector<uint8_t> pixels;
    uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// False when the game's loader refuses the file.
bool LoadPicture(const std::string& name, Picture* picture);

// Where screen pixel (x, y) of a full-screen picture comes from: the game
// cuts it from (1, 1).
inline uint8_t Screen(const Picture& p, int x, int y) { return p.At(x + 1, y + 1); }

// Perceived brightness of a palette entry, 0..255.
double Luma(const Palette& palette, int index);

bool LoadWave(const std::string& name, WaveFile* wave);

}  // namespace data_test
