#include "common/file_read.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char* Reason(int error) {
    switch (error) {
        case ENOENT:
            return NO_SUCH_FILE;
        case EACCES:
            return "permission denied";
        case EISDIR:
            return "is a directory";
        default:
            return std::strerror(error);
    }
}

}  // namespace

bool ReadWholeFile(const char* name, size_t limit, std::vector<uint8_t>* bytes, std::string* why) {
    bytes->clear();
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        if (why != nullptr) *why = Reason(errno);
        return false;
    }
    uint8_t block[65536];
    size_t got = 0;
    while (bytes->size() < limit &&
           (got = std::fread(block, 1, std::min(sizeof block, limit - bytes->size()), file)) > 0) {
        bytes->insert(bytes->end(), block, block + got);
    }
    // A folder opens for reading here; reading it is what fails.
    const int error = std::ferror(file) != 0 ? (errno != 0 ? errno : EIO) : 0;
    std::fclose(file);
    if (error != 0) {
        bytes->clear();
        if (why != nullptr) *why = Reason(error);
        return false;
    }
    return true;
}
