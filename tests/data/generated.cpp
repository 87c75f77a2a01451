#include "generated.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace data_test {

int RunGenerator(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    std::string command =
        std::string(VOLLEEN_BINARY_DIR) + "/volleen-generate '" + folder + "' 2>/dev/null";
    return std::system(command.c_str());
}

namespace {
// Removes the generated folder when the test program ends.
struct Cleanup {
    std::string folder;
    ~Cleanup() {
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }
} TheCleanup;
}  // namespace

const std::string& Folder() {
    static std::string folder = [] {
        auto dir = std::filesystem::temp_directory_path() /
                   ("volleen-data-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        RunGenerator(dir.string());
        TheCleanup.folder = dir.string();
        return dir.string();
    }();
    return folder;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
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
