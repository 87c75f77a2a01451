#include "common/file_read.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/os.h"

namespace {

const char* Reason(int error) {
    switch (error) {
        case ENOENT:
            return NO_SUCH_FILE;
        case EACCES:
            return "permission denied";
        case EISDIR:
            return "is a directory";
        case ENAMETOOLONG:
            return "its path is too long";
        default:
            return std::strerror(error);
    }
}

const char* NotAFile(mode_t mode) {
    if (S_ISDIR(mode)) return "is a directory";
    if (S_ISFIFO(mode)) return "is a pipe, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a file";
#ifdef S_ISSOCK  // Windows has no sockets among its files.
    if (S_ISSOCK(mode)) return "is a socket, not a file";
#endif
    return "is not a regular file";
}

std::string Megabytes(size_t bytes) {
    return bytes >= (size_t{1} << 20) ? std::to_string(bytes >> 20) + " MiB"
                                      : std::to_string(bytes) + " bytes";
}

}  // namespace

bool ReadWholeFile(const char* name, size_t limit, std::vector<uint8_t>* bytes, std::string* why) {
    bytes->clear();
    const int fd = os::OpenToRead(name);
    if (fd < 0) {
        if (why != nullptr) *why = Reason(errno);
        return false;
    }
    struct stat about {};
    std::string refused;
    if (fstat(fd, &about) != 0) {
        refused = Reason(errno);
    } else if (!S_ISREG(about.st_mode)) {
        refused = NotAFile(about.st_mode);
    } else if (static_cast<uint64_t>(about.st_size) > limit) {
        refused = "is too large (" + std::to_string(about.st_size) + " bytes; at most " +
                  Megabytes(limit) + ")";
    }
    if (!refused.empty()) {
        close(fd);
        if (why != nullptr) *why = refused;
        return false;
    }
    // The size is only a hint: the file may change while it is read.
    bytes->reserve(static_cast<size_t>(about.st_size));
    uint8_t block[65536];
    int error = 0;
    while (true) {
        const ssize_t got = read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error = errno;
        if (got <= 0) break;
        if (bytes->size() + static_cast<size_t>(got) > limit) {
            error = EFBIG;
            break;
        }
        bytes->insert(bytes->end(), block, block + got);
    }
    close(fd);
    if (error != 0) {
        bytes->clear();
        if (why != nullptr) *why = error == EFBIG ? "grew too large while read" : Reason(error);
        return false;
    }
    return true;
}
