// Feeds arbitrary bytes to the bitmap loader. Every picture it accepts is
// read whole, so a pixel block shorter than its header says shows up under
// the address sanitizer.
#include <cstddef>
#include <cstdint>

#include "graphics/bitmap_file.h"

namespace {
// Kept across inputs so that loads over an older picture are exercised too.
BitmapFile Record;
volatile uint32_t Sink;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (LoadBitmapMemory(&Record, data, size) == 1) {
        const BitmapInfoHeader& info = Record.infoHeader;
        const size_t bytes = static_cast<size_t>(info.biWidth) *
                             static_cast<size_t>(info.biHeight) * (info.biBitCount / 8u);
        if (Record.pixels == nullptr || info.biWidth <= 0 || info.biHeight <= 0 ||
            bytes != info.biSizeImage) {
            __builtin_trap();  // an accepted picture must describe its own block
        }
        uint32_t sum = 0;
        for (size_t i = 0; i < bytes; ++i) sum += Record.pixels[i];
        Sink = sum;
    }
    // Now and then start from an empty record.
    if (size % 7 == 0) UnloadBitmapFile(&Record);
    return 0;
}
