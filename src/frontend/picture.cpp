#include "frontend/picture.h"

#include <cstdio>
#include <string>

#include "graphics/bitmap_file.h"

namespace {

void Refuse(const char* name, const char* why, bool report) {
    UnloadBitmapFile(&ScratchBitmap);
    if (report) std::fprintf(stderr, "volleen: cannot read %s: %s\n", name, why);
}

}  // namespace

int32_t LoadPicture(const char* name, int32_t minWidth, int32_t minHeight, bool report) {
    UnloadBitmapFile(&ScratchBitmap);

    std::string why;
    if (!LoadBitmapFile(&ScratchBitmap, name, &why)) {
        Refuse(name, why.c_str(), report);
        return 0;
    }
    const BitmapInfoHeader& info = ScratchBitmap.infoHeader;
    if (info.biBitCount != 8) {
        Refuse(name, "not an 8-bit picture", report);
        return 0;
    }
    if (info.biWidth < minWidth || info.biHeight < minHeight) {
        char size[96];
        std::snprintf(size, sizeof size, "the picture is %dx%d, smaller than %dx%d",
                      static_cast<int>(info.biWidth), static_cast<int>(info.biHeight),
                      static_cast<int>(minWidth), static_cast<int>(minHeight));
        Refuse(name, size, report);
        return 0;
    }
    return 1;
}
