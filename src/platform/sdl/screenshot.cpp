// F12: the picture as the player sees it (640 x 480 through the palette), as
// a PNG in the player's pictures folder.
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "common/file_write.h"
#include "common/folders.h"
#include "common/png_chunk.h"
#include "platform/common/surface.h"
#include "platform/sdl/state.h"

namespace platform::sdl {

namespace {

// $XDG_PICTURES_DIR/volleen, else ~/Pictures/volleen; empty without either.
std::string ShotsFolder() {
    const char* pictures = std::getenv("XDG_PICTURES_DIR");
    if (pictures != nullptr && pictures[0] == '/') return std::string(pictures) + "/volleen";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/Pictures/volleen";
    return "";
}

}  // namespace

void SaveScreenshot() {
    const Surface* shown = display::Primary;
    if (shown == nullptr) return;
    const int width = shown->width;
    const int height = shown->height;
    std::vector<uint8_t> rows;
    rows.reserve(static_cast<size_t>(width * 3 + 1) * height);
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // no filter
        const uint8_t* row = shown->pixels.data() + static_cast<size_t>(y) * shown->pitch;
        for (int x = 0; x < width; ++x) {
            const uint8_t* entry = display::Palette + row[x] * 4;
            rows.insert(rows.end(), {entry[0], entry[1], entry[2]});
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size())) !=
        Z_OK) {
        std::fprintf(stderr, "volleen: cannot make the screenshot\n");
        return;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> png(PNG_SIGNATURE, PNG_SIGNATURE + 8);
    std::vector<uint8_t> header;
    AppendBe32(header, static_cast<uint32_t>(width));
    AppendBe32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no interlace
    AppendPngChunk(png, "IHDR", header);
    AppendPngChunk(png, "IDAT", packed);
    AppendPngChunk(png, "IEND", {});

    const std::string folder = ShotsFolder();
    if (folder.empty()) {
        std::fprintf(stderr, "volleen: no folder for the screenshot (HOME is not set)\n");
        return;
    }
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    // Two in one second keep both.
    std::string path = folder + "/volleen_" + stamp + ".png";
    for (int n = 2; FILE* taken = std::fopen(path.c_str(), "rb"); ++n) {
        std::fclose(taken);
        path = folder + "/volleen_" + stamp + "_" + std::to_string(n) + ".png";
    }
    std::string why;
    if (!MakeParentFolders(path, 0755, &why) ||
        !WriteFileAtomically(path.c_str(), png.data(), png.size(), &why)) {
        std::fprintf(stderr, "volleen: cannot save the screenshot %s: %s\n", path.c_str(),
                     why.c_str());
        return;
    }
    std::printf("volleen: screenshot saved to %s\n", path.c_str());
    std::fflush(stdout);
}

}  // namespace platform::sdl
