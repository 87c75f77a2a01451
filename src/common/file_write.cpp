#include "common/file_write.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/os.h"

namespace {

void Say(std::string* why, const char* what, int error = 0) {
    if (why == nullptr) return;
    *why = what;
    if (error != 0) *why += std::string(" (") + std::strerror(error) + ")";
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

// The first folder on the way to `path` that is something else; empty when
// there is none.
std::string FileInTheWay(const std::string& path) {
    for (size_t end = 1; end < path.size(); ++end) {
        if (!os::IsSeparator(path[end])) continue;
        const std::string folder = path.substr(0, end);
        struct stat about {};
        if (stat(folder.c_str(), &about) == 0 && !S_ISDIR(about.st_mode)) return folder;
    }
    return "";
}

// Writes straight into something that is not a file: a device or a pipe.
bool WriteInto(const std::string& target, const void* bytes, size_t size, std::string* why) {
    const int fd = os::OpenToWrite(target.c_str());
    if (fd < 0) {
        Say(why, "it cannot be opened", errno);
        return false;
    }
    bool ok = WriteAll(fd, static_cast<const uint8_t*>(bytes), size);
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) Say(why, "writing failed", error != 0 ? error : EIO);
    return ok;
}

bool WriteFile(const char* path, const void* bytes, size_t size, bool intoOthers,
               std::string* why) {
    std::string target;
    int error = 0;
    if (!os::FinalTarget(path, &target, &error)) {
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
        // Renamed over, a device or a pipe would become a plain file: a
        // keys.dat linked to /dev/null would replace the machine's own.
        if (!S_ISREG(old.st_mode)) {
            if (intoOthers) return WriteInto(target, bytes, size, why);
            Say(why, "it is not a regular file (a device or a pipe)");
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

    std::string temporary;
    const int fd = os::CreateTemporaryBeside(target, mode, &temporary);
    if (fd < 0) {
        error = errno;
        const std::string inTheWay = error == ENOTDIR ? FileInTheWay(target) : "";
        if (!inTheWay.empty()) {
            Say(why, (inTheWay + " is a file, not a folder").c_str());
        } else {
            Say(why, "no temporary file can be made beside it", error);
        }
        return false;
    }
    bool ok = WriteAll(fd, static_cast<const uint8_t*>(bytes), size) && os::FlushToDisk(fd);
    error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && !os::MoveOver(temporary, target)) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        Say(why, "writing failed", error != 0 ? error : EIO);
        return false;
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const char* path, const void* bytes, size_t size, std::string* why) {
    return WriteFile(path, bytes, size, false, why);
}

bool WriteOutputFile(const char* path, const void* bytes, size_t size, std::string* why) {
    return WriteFile(path, bytes, size, true, why);
}
