#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "clock/pause.h"
#include "common/printable.h"
#include "frontend/key_bindings.h"
#include "platform/platform.h"
#include "shell/command_line.h"
#include "shell/game_files.h"
#include "shell/replays.h"
#include "shell/shell.h"

namespace {

// What the player asked to see on stdout (the usage, the version, the frame
// statistics) and could not get: one line and a failed status, never a
// silent success.
int32_t StdoutWritten(int32_t status) {
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return status;
    std::fprintf(stderr, "volleen: cannot write to the standard output: %s\n",
                 std::strerror(errno != 0 ? errno : EIO));
    return status != 0 ? status : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // A closed pipe on stdout or stderr must not end the game: a failed
    // warning is nothing, a failed asked-for output is said above.
    std::signal(SIGPIPE, SIG_IGN);
    CommandLine options;
    std::string error;
    if (!ParseCommandLine(argc, argv, &options, &error)) {
        std::fprintf(stderr, "volleen: %s\n%s", error.c_str(), CommandLineUsage().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(CommandLineUsage().c_str(), stdout);
        return StdoutWritten(0);
    }
    if (options.version) {
        std::puts("volleen " VOLLEEN_VERSION);
        return StdoutWritten(0);
    }

    // Without its data the game would show a black screen: better said here,
    // before any window.
    GameFiles files;
    const FileSearch search = ProcessFileSearch(options.dataDir, VOLLEEN_INSTALLED_DATA);
    for (const std::string& note : search.notes)
        std::fprintf(stderr, "volleen: %s\n", note.c_str());
    if (!FindGameFiles(search, &files, &error)) {
        std::fprintf(stderr, "volleen: %s\n", error.c_str());
        return 1;
    }
    // The game reads its pictures and sounds from the working folder, as it
    // always has; an installed game's folder becomes that folder.
    if (!files.dataDir.empty() && chdir(files.dataDir.c_str()) != 0) {
        std::fprintf(stderr, "volleen: cannot use the data folder %s: %s\n",
                     Printable(files.dataDir).c_str(), std::strerror(errno));
        return 1;
    }
    KeysFilePath = files.keysFile;
    if (!platform::KeptReplaysFolder(&ReplayFolder, &ReplaysKept)) {
        ReplayFolder = UserReplayFolder(search);
    }
    SkipIntro = options.skipIntro;
    platform::SetStartOptions(options.start);
    if (!options.replay.empty()) return StdoutWritten(ReplayMain(options.replay));
    return StdoutWritten(WinMain());
}
