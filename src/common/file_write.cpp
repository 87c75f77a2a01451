#include "common/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

void Say(std::string* why, const char* what, int error = 0) {
    if (why == nullptr) return;
    *why = what;
    if (error != 0) *why += std::string(" (") + std::strerror(error) + ")";
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows symbolic links to the file they finally name (which need not exist
// yet). False when a link cannot be read or they go round in a loop.
bool FinalTarget(const char* path, std::string* target, int* error) {
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        char link[PATH_MAX];
        const ssize_t length = readlink(at.c_str(), link, sizeof link);
        if (length < 0) {
            *error = errno;
            if (errno != EINVAL && errno != ENOENT) return false;
            *target = at;
            return true;
        }
        if (static_cast<size_t>(length) == sizeof link) {
            *error = ENAMETOOLONG;
            return false;
        }
        std::string next(link, static_cast<size_t>(length));
        at = next[0] == '/' ? next : FolderOf(at) + "/" + next;
    }
    *error = ELOOP;
    return false;
}

bool WriteAll(int fd, const uint8_t* bytes, size_t size) {
    while (size > 0) {
        const ssize_t wrote = write(fd, bytes, size);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        bytes += wrote;
        size -= static_cast<size_t>(wrote);
    }
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool WriteFileAtomically(const char* path, const void* bytes, size_t size, std::string* why) {
    std::string target;
    int error = 0;
    if (!FinalTarget(path, &target, &error)) {
        Say(why, "its link cannot be followed", error);
        return false;
    }
    struct stat old {};
    mode_t mode = 0;
    if (stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) {
            Say(why, "it is a folder");
            return false;
        }
        // A file made read-only was made so on purpose (the superuser may
        // write anything, so the bits are asked too).
        if ((old.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0) {
            Say(why, "it is read-only");
            return false;
        }
        mode = old.st_mode & 07777;
    } else {
        mode = NewFileMode();
    }

    std::string temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        Say(why, "no temporary file can be made beside it", errno);
        return false;
    }
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, static_cast<const uint8_t*>(bytes), size) &&
              fsync(fd) == 0;
    error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        Say(why, "writing failed", error != 0 ? error : EIO);
        return false;
    }
    // The rename itself reaches the disk only with the folder.
    const int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}
