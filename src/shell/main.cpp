#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "clock/pause.h"
#include "frontend/key_bindings.h"
#include "platform/platform.h"
#include "shell/command_line.h"
#include "shell/game_files.h"
#include "shell/shell.h"

int main(int argc, char** argv) {
    CommandLine options;
    std::string error;
    if (!ParseCommandLine(argc, argv, &options, &error)) {
        std::fprintf(stderr, "volleen: %s\n%s", error.c_str(), CommandLineUsage().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(CommandLineUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("volleen " VOLLEEN_VERSION);
        return 0;
    }

    // Without its data the game would show a black screen: better said here,
    // before any window.
    GameFiles files;
    if (!FindGameFiles(ProcessFileSearch(options.dataDir, VOLLEEN_INSTALLED_DATA), &files,
                       &error)) {
        std::fprintf(stderr, "volleen: %s\n", error.c_str());
        return 1;
    }
    // The game reads its pictures and sounds from the working folder, as it
    // always has; an installed game's folder becomes that folder.
    if (!files.dataDir.empty() && chdir(files.dataDir.c_str()) != 0) {
        std::fprintf(stderr, "volleen: cannot use the data folder %s: %s\n", files.dataDir.c_str(),
                     std::strerror(errno));
        return 1;
    }
    KeysFilePath = files.keysFile;
    SkipIntro = options.skipIntro;
    platform::SetStartOptions(options.start);
    return WinMain();
}
