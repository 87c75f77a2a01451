#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "clock/pause.h"
#include "common/os.h"
#include "common/printable.h"
#include "frontend/key_bindings.h"
#include "online/options.h"
#include "online/session.h"
#include "platform/platform.h"
#include "shell/command_line.h"
#include "shell/game_files.h"
#include "shell/replays.h"
#include "shell/shell.h"
#include "shell/window_settings.h"

namespace {

// The end of a start that cannot go on: said on stderr, and where a player
// who started the game from a desktop menu sees it.
int StartFailed(const std::string& line) {
    std::fprintf(stderr, "volleen: %s\n", line.c_str());
    platform::ShowStartupError(("Volleen cannot start.\n\n" + WrapWords(line, 72)).c_str());
    return 1;
}

}  // namespace

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
    os::IgnoreBrokenPipes();
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
    if (!TakeOnlineChoice(options.online, &error)) {
        std::fprintf(stderr, "volleen: %s\n%s", error.c_str(), CommandLineUsage().c_str());
        return 2;
    }

    // Without its data the game would show a black screen: better said here,
    // before any window.
    GameFiles files;
    const FileSearch search = ProcessFileSearch(options.dataDir, VOLLEEN_INSTALLED_DATA);
    for (const std::string& note : search.notes)
        std::fprintf(stderr, "volleen: %s\n", note.c_str());
    if (!FindGameFiles(search, &files, &error)) {
        return StartFailed(error);
    }
    // The game reads its pictures and sounds from the working folder, as it
    // always has; an installed game's folder becomes that folder.
    if (!files.dataDir.empty()) {
        std::error_code failed;
        std::filesystem::current_path(files.dataDir, failed);
        if (failed) {
            return StartFailed("cannot use the data folder " + Printable(files.dataDir) + ": " +
                               failed.message());
        }
    }
    KeysFilePath = files.keysFile;
    if (!platform::KeptReplaysFolder(&ReplayFolder, &ReplaysKept)) {
        ReplayFolder = UserReplayFolder(search);
    }
    WindowSettingsPath =
        std::filesystem::path(KeysFilePath).replace_filename("window.cfg").string();
    LoadWindowSettings(&options.start, options.placeGiven);
    SkipIntro = options.skipIntro;
    platform::SetStartOptions(options.start);
    if (!options.replay.empty()) return StdoutWritten(ReplayMain(options.replay));
    return StdoutWritten(WinMain());
}
