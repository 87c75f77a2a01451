// libFuzzer target: the picture cutting of asset loading on any file. The
// input is written to a file and loaded as the game loads its pictures, then
// cut into the game's sprites and full-screen images and into one more
// object whose shape and cell come from the input's last bytes. Nothing may
// be read or written outside the file's pixels or the objects, and every cut
// must lie inside both.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "frontend/picture.h"
#include "graphics/bitmap_file.h"
#include "graphics/bitmap_image.h"
#include "graphics/bob.h"

// The display's size, which drawing an image cuts to (no display is opened).
int32_t ScreenWidth = 640;
int32_t ScreenHeight = 480;

namespace {

const char* FileName() {
    static char name[] = "/tmp/volleen-assets-fuzz-XXXXXX";
    static bool made = false;
    if (!made) {
        const int fd = mkstemp(name);
        if (fd < 0) std::abort();
        close(fd);
        made = true;
    }
    return name;
}

void WriteInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(FileName(), "wb");
    if (file == nullptr) std::abort();
    if (size != 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

void CheckCut(int32_t width, int32_t height, int32_t cx, int32_t cy, int32_t mode) {
    CellCut cut;
    if (!CutCell(&ScratchBitmap, width, height, cx, cy, mode, &cut)) return;
    const BitmapInfoHeader& info = ScratchBitmap.infoHeader;
    const bool inside = cut.columns > 0 && cut.rows > 0 && cut.sourceColumn >= 0 &&
                        cut.sourceRow >= 0 && cut.sourceColumn + cut.columns <= info.biWidth &&
                        cut.sourceRow + cut.rows <= info.biHeight && cut.column >= 0 &&
                        cut.row >= 0 && cut.column + cut.columns <= width &&
                        cut.row + cut.rows <= height;
    if (!inside) __builtin_trap();
}

void CutSprite(int32_t width, int32_t height, int32_t cx, int32_t cy, int32_t mode) {
    CheckCut(width, height, cx, cy, mode);
    Bob bob = {};
    if (CreateBob(&bob, 0, 0, width, height, 1, 17, 2048)) {
        LoadBobFrame(&bob, &ScratchBitmap, 0, cx, cy, mode);
    }
    DestroyBob(&bob);
}

void CutImage(int32_t width, int32_t height, int32_t cx, int32_t cy, int32_t mode, int32_t x,
              int32_t y) {
    CheckCut(width, height, cx, cy, mode);
    BitmapImage image = {};
    if (CreateBitmapImage(&image, x, y, width, height)) {
        LoadBitmapImage(&image, &ScratchBitmap, cx, cy, mode);
        static std::vector<uint8_t> screen(640 * 480);
        DrawBitmapImage(&image, screen.data(), 640, (x + y) & 1);
    }
    DestroyBitmapImage(&image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput(data, size);
    if (!LoadPicture(FileName(), 1, 1, false)) return 0;

    // The game's own pieces: the ball, the two paddles, a full-screen picture
    // and the title.
    CutSprite(11, 11, 0, 0, 0);
    CutSprite(66, 8, 0, 0, 0);
    CutSprite(65, 8, 1, 0, 0);
    CutImage(639, 479, 0, 0, 0, 0, 0);
    CutImage(619, 459, 0, 0, 0, 20, 20);

    // One more of any shape, cell and place, from the input's last bytes.
    if (size >= 8) {
        const uint8_t* p = data + size - 8;
        const int32_t width = 1 + (p[0] | (p[1] << 8)) % 700;
        const int32_t height = 1 + (p[2] | (p[3] << 8)) % 520;
        const int32_t cx = static_cast<int8_t>(p[4]);
        const int32_t cy = static_cast<int8_t>(p[5]);
        const int32_t mode = p[6] & 1;
        CutSprite(width % 128 + 1, height % 128 + 1, cx, cy, mode);
        CutImage(width, height, cx, cy, mode, static_cast<int8_t>(p[7]) * 8,
                 static_cast<int8_t>(p[6]) * 4);
    }
    UnloadBitmapFile(&ScratchBitmap);
    return 0;
}
