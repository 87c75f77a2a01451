// Windows, built with mingw-w64. Paths are in the system's ANSI code page,
// as the C library's narrow calls that read the files have them.
// winsock2.h comes before windows.h, which would bring the old winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>
// clang-format off
#include <windows.h>
#include <iphlpapi.h>
// clang-format on
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/os.h"

namespace os {
namespace {

// Files are opened in binary: the C library's default text mode would turn
// every '\n' written into "\r\n" and stop reading at a 0x1A byte.
constexpr int Binary = _O_BINARY | _O_NOINHERIT;

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
}

}  // namespace

const UserFolderVariables UserFolderNames = {"APPDATA", "APPDATA", "USERPROFILE"};

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

int OpenToRead(const char* path) { return _open(path, _O_RDONLY | Binary); }

int OpenToWrite(const char* path) { return _open(path, _O_WRONLY | Binary); }

bool FinalTarget(const std::string& path, std::string* target, int*) {
    *target = path;
    return true;
}

int CreateTemporaryBeside(const std::string& target, unsigned, std::string* temporary) {
    // Read-only is the only permission a Windows file has, and a new file
    // is writable.
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%lx%02u", GetCurrentProcessId() ^ GetTickCount(),
                      attempt);
        *temporary = target + suffix;
        const int fd = _open(temporary->c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | Binary,
                             _S_IREAD | _S_IWRITE);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool FlushToDisk(int fd) { return _commit(fd) == 0; }

bool MoveOver(const std::string& from, const std::string& to) {
    // rename() will not replace an existing file here. Write-through returns
    // only when the move is on the disk.
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = ErrnoOf(GetLastError());
    return false;
}

bool MakeFolder(const std::string& path, unsigned) { return _mkdir(path.c_str()) == 0; }

std::string ProgramFile() {
    char path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return length == 0 || length >= sizeof path ? "" : std::string(path, length);
}

std::string HomeFolder() {
    const char* profile = std::getenv("USERPROFILE");
    return profile != nullptr ? profile : "";
}

// Windows has no SIGPIPE: a write to a closed pipe already fails.
void IgnoreBrokenPipes() {}

void OnCrash(void (*handler)(int)) {
    for (int fault : {SIGSEGV, SIGABRT, SIGFPE, SIGILL}) std::signal(fault, handler);
}

bool IsIpv6Address(const char* text) {
    in6_addr six{};
    return inet_pton(AF_INET6, text, &six) == 1;
}

std::vector<std::string> LocalIpv4Addresses() {
    std::vector<std::string> out;
    std::vector<unsigned char> table;
    ULONG size = 16 * 1024;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    // The table may grow between asking its size and reading it.
    for (int attempt = 0; attempt < 3 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        table.resize(size);
        result = GetAdaptersAddresses(
            AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER,
            nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(table.data()), &size);
    }
    if (result != NO_ERROR) return out;
    for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(table.data()); adapter != nullptr;
         adapter = adapter->Next) {
        if (adapter->OperStatus != IfOperStatusUp) continue;
        if (adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;
        for (auto* at = adapter->FirstUnicastAddress; at != nullptr; at = at->Next) {
            if (at->Address.lpSockaddr->sa_family != AF_INET) continue;
            char text[INET_ADDRSTRLEN];
            const auto* v4 = reinterpret_cast<const sockaddr_in*>(at->Address.lpSockaddr);
            if (inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text) != nullptr)
                out.push_back(text);
        }
    }
    return out;
}

}  // namespace os
