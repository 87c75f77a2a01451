#include "graphics/bitmap_image.h"

#include <cstdlib>
#include <cstring>

#include "graphics/bob.h"
#include "graphics/display.h"

namespace {
// No game picture comes near this; a larger request is a mistake.
constexpr int64_t MaxImageBytes = 64 * 1024 * 1024;
}  // namespace

int32_t CreateBitmapImage(BitmapImage* image, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (image == nullptr) return 0;
    const int64_t bytes = static_cast<int64_t>(width) * height;
    if (width <= 0 || height <= 0 || bytes > MaxImageBytes) return 0;
    uint8_t* block = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(bytes), 1));
    if (block == nullptr) return 0;
    image->pixels = block;
    image->x = x;
    image->y = y;
    image->state = BOB_STATE_ALIVE;
    image->attributes = 0;
    image->width = width;
    image->height = height;
    image->byteCount = static_cast<int32_t>(bytes);
    return 1;
}

int32_t DestroyBitmapImage(BitmapImage* image) {
    if (image == nullptr || image->pixels == nullptr) return 0;
    std::free(image->pixels);
    std::memset(image, 0, sizeof *image);
    return 1;
}

int32_t LoadBitmapImage(BitmapImage* image, const BitmapFile* file, int32_t cx, int32_t cy,
                        int32_t mode) {
    if (image == nullptr || image->pixels == nullptr) return 0;
    CellCut cut;
    if (!CutCell(file, image->width, image->height, cx, cy, mode, &cut)) return 0;
    const int32_t fileWidth = file->infoHeader.biWidth;
    for (int32_t r = 0; r < cut.rows; ++r) {
        const uint8_t* from =
            file->pixels + static_cast<int64_t>(cut.sourceRow + r) * fileWidth + cut.sourceColumn;
        uint8_t* to = image->pixels + static_cast<int64_t>(cut.row + r) * image->width + cut.column;
        std::memcpy(to, from, static_cast<size_t>(cut.columns));
    }
    image->attributes |= IMAGE_LOADED;
    return 1;
}

int32_t DrawBitmapImage(BitmapImage* image, uint8_t* destination, int32_t pitch,
                        int32_t transparent) {
    if (image == nullptr || (image->attributes & IMAGE_LOADED) == 0) return 0;
    if (image->pixels == nullptr || destination == nullptr) return 0;

    // Cut to the screen: the locked block holds ScreenWidth x ScreenHeight.
    const int64_t left = image->x < 0 ? 0 : image->x;
    const int64_t top = image->y < 0 ? 0 : image->y;
    const int64_t right = static_cast<int64_t>(image->x) + image->width < ScreenWidth
                              ? static_cast<int64_t>(image->x) + image->width
                              : ScreenWidth;
    const int64_t bottom = static_cast<int64_t>(image->y) + image->height < ScreenHeight
                               ? static_cast<int64_t>(image->y) + image->height
                               : ScreenHeight;
    if (left >= right || top >= bottom) return 1;

    const size_t columns = static_cast<size_t>(right - left);
    for (int64_t r = top; r < bottom; ++r) {
        const uint8_t* from = image->pixels + (r - image->y) * image->width + (left - image->x);
        uint8_t* to = destination + r * pitch + left;
        if (!transparent) {
            std::memcpy(to, from, columns);
            continue;
        }
        // Index 0 lets the destination show through.
        for (size_t c = 0; c < columns; ++c) {
            if (from[c] != 0) to[c] = from[c];
        }
    }
    return 1;
}
