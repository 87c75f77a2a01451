// The few calls about files, folders, the process and the network addresses
// that differ between POSIX systems and Windows, each made once here. os_posix.cpp and
// os_windows.cpp make them real; the build takes the one for its system, so
// nothing above this needs to ask which system it is on. The calls that can
// fail set errno.
#pragma once

#include <string>
#include <vector>

namespace os {

// Whether `c` separates the folders of a path: '/', and on Windows '\' too.
bool IsSeparator(char c);

// Opens an existing file for reading or writing, in binary, not handed down
// to child programs; opening a pipe to read does not wait for its writer.
// -1 on failure.
int OpenToRead(const char* path);
int OpenToWrite(const char* path);

// Follows symbolic links to the file they finally name (which need not exist
// yet). False with `*error` when a link cannot be read or they go round in a
// loop. Windows' links are left to the system: the path is its own target.
bool FinalTarget(const std::string& path, std::string* target, int* error);

// Makes a new file beside `target` with a name nobody else can have taken,
// open for writing, with the permission bits `mode` where the system has
// them. Its name goes to `*temporary`. -1 on failure.
int CreateTemporaryBeside(const std::string& target, unsigned mode, std::string* temporary);

// Waits until what was written to `fd` is on the disk.
bool FlushToDisk(int fd);

// Puts the file `from` in place of `to`, replacing any file there in one
// step, and makes the change itself survive a crash.
bool MoveOver(const std::string& from, const std::string& to);

// Makes one folder, with `mode` where the system has permission bits.
bool MakeFolder(const std::string& path, unsigned mode);

// The running program's own file, absolute; empty when it cannot be told.
std::string ProgramFile();

// The player's home folder as the system records it; empty when unknown.
std::string HomeFolder();

// The environment variables naming the player's folders: the one for
// settings, the one for kept data (replays) and the home folder. POSIX
// systems: XDG_CONFIG_HOME, XDG_DATA_HOME, HOME; Windows: APPDATA twice and
// USERPROFILE.
struct UserFolderVariables {
    const char* config;
    const char* data;
    const char* home;
};
extern const UserFolderVariables UserFolderNames;

// A write to a closed pipe fails instead of ending the process.
void IgnoreBrokenPipes();

// Calls `handler` on the signals of a crash this system has.
void OnCrash(void (*handler)(int));

// Whether `text` is an IPv6 address written out.
bool IsIpv6Address(const char* text);

// The IPv4 addresses of this machine's network interfaces that are up,
// loopback left out.
std::vector<std::string> LocalIpv4Addresses();

}  // namespace os
