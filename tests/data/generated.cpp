#include "generated.h"

#include <cstdlib>
#include <filesystem>

#include "support/files.h"

namespace data_test {

int RunGenerator(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    std::string command =
        std::string(VOLLEEN_BINARY_DIR) + "/volleen-generate '" + folder + "' 2>/dev/null";
    return std::system(command.c_str());
}

// Generated once per test program, removed when it ends.
const std::string& Folder() {
    static const support::TempFolder folder("volleen-data-test");
    static const std::string path = [] {
        RunGenerator(folder.path().string());
        return folder.path().string();
    }();
    return path;
}

bool LoadPicture(const std::string& name, Picture* picture) {
    BitmapFile file{};
    std::string path = Folder() + "/" + name;
    if (LoadBitmapFile(&file, path.c_str()) != 1) return false;
    picture->width = file.infoHeader.biWidth;
    picture->height = file.infoHeader.biHeight;
    picture->bits = file.infoHeader.biBitCount;
    picture->sizeImage = file.infoHeader.biSizeImage;
    picture->offBits = file.fileHeader.bfOffBits;
    picture->fileSize = file.fileHeader.bfSize;
    picture->palette = file.palette;
    size_t count = static_cast<size_t>(picture->width) * picture->height;
    picture->pixels.assign(file.pixels, file.pixels + count);
    UnloadBitmapFile(&file);
    return true;
}

double Luma(const Palette& palette, int index) {
    const PaletteEntry& e = palette.entries[index];
    return 0.299 * e.red + 0.587 * e.green + 0.114 * e.blue;
}

bool LoadWave(const std::string& name, WaveFile* wave) {
    std::string path = Folder() + "/" + name;
    return ReadWaveFile(path.c_str(), wave) == 1;
}

}  // namespace data_test
