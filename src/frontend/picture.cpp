#include "frontend/picture.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "graphics/bitmap_file.h"

namespace {

const char* OpenFailure(int error) {
    switch (error) {
        case ENOENT:
            return "no such file";
        case EACCES:
            return "permission denied";
        case EISDIR:
            return "is a directory";
        default:
            return std::strerror(error);
    }
}

void Refuse(const char* name, const char* why, bool report) {
    UnloadBitmapFile(&ScratchBitmap);
    if (report) std::fprintf(stderr, "volleen: cannot read %s: %s\n", name, why);
}

}  // namespace

int32_t LoadPicture(const char* name, int32_t minWidth, int32_t minHeight, bool report) {
    UnloadBitmapFile(&ScratchBitmap);

    if (!LoadBitmapFile(&ScratchBitmap, name) || ScratchBitmap.pixels == nullptr) {
        // The loader only says yes or no; whether the file opens says why.
        std::FILE* probe = std::fopen(name, "rb");
        if (probe == nullptr) {
            Refuse(name, OpenFailure(errno), report);
            return 0;
        }
        std::fclose(probe);
        // Opening a directory for reading succeeds here; reading it does not.
        struct stat status;
        const bool folder = stat(name, &status) == 0 && S_ISDIR(status.st_mode);
        Refuse(name, folder ? OpenFailure(EISDIR) : "not a bitmap file the game can read", report);
        return 0;
    }
    const BitmapInfoHeader& info = ScratchBitmap.infoHeader;
    if (info.biBitCount != 8) {
        Refuse(name, "not an 8-bit picture", report);
        return 0;
    }
    if (info.biWidth < minWidth || info.biHeight < minHeight) {
        char why[96];
        std::snprintf(why, sizeof why, "the picture is %dx%d, smaller than %dx%d",
                      static_cast<int>(info.biWidth), static_cast<int>(info.biHeight),
                      static_cast<int>(minWidth), static_cast<int>(minHeight));
        Refuse(name, why, report);
        return 0;
    }
    return 1;
}
