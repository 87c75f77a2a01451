#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "common/os.h"

namespace os {
namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

const UserFolderVariables UserFolderNames = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "HOME"};

bool IsSeparator(char c) { return c == '/'; }

int OpenToRead(const char* path) { return open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC); }

int OpenToWrite(const char* path) { return open(path, O_WRONLY | O_CLOEXEC); }

bool FinalTarget(const std::string& path, std::string* target, int* error) {
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        char link[PATH_MAX];
        const ssize_t length = readlink(at.c_str(), link, sizeof link);
        if (length < 0) {
            *error = errno;
            // ENOTDIR too: the caller says which folder on the way is a file.
            if (errno != EINVAL && errno != ENOENT && errno != ENOTDIR) return false;
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

int CreateTemporaryBeside(const std::string& target, unsigned mode, std::string* temporary) {
    *temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary->data());
    if (fd < 0) return -1;
    if (fchmod(fd, static_cast<mode_t>(mode)) != 0) {
        const int error = errno;
        close(fd);
        unlink(temporary->c_str());
        errno = error;
        return -1;
    }
    return fd;
}

bool FlushToDisk(int fd) { return fsync(fd) == 0; }

bool MoveOver(const std::string& from, const std::string& to) {
    if (rename(from.c_str(), to.c_str()) != 0) return false;
    // The rename itself reaches the disk only with the folder.
    const int folder = open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

bool MakeFolder(const std::string& path, unsigned mode) {
    return mkdir(path.c_str(), static_cast<mode_t>(mode)) == 0;
}

std::string ProgramFile() {
    std::error_code failed;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? "" : program.string();
}

std::string HomeFolder() {
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

void IgnoreBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

void OnCrash(void (*handler)(int)) {
    for (int fault : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL}) std::signal(fault, handler);
}

bool IsIpv6Address(const char* text) {
    in6_addr six{};
    return inet_pton(AF_INET6, text, &six) == 1;
}

std::vector<std::string> LocalIpv4Addresses() {
    std::vector<std::string> out;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return out;
    for (ifaddrs* at = list; at != nullptr; at = at->ifa_next) {
        if (at->ifa_addr == nullptr || at->ifa_addr->sa_family != AF_INET) continue;
        if ((at->ifa_flags & IFF_LOOPBACK) != 0 || (at->ifa_flags & IFF_UP) == 0) continue;
        char text[INET_ADDRSTRLEN];
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(at->ifa_addr);
        if (inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text) != nullptr) out.push_back(text);
    }
    freeifaddrs(list);
    return out;
}

}  // namespace os
