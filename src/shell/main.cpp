#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "shell/command_line.h"
#include "shell/shell.h"
#include "shell/startup.h"

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
    // The game reads its files from the working folder, as it always has.
    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0) {
        std::fprintf(stderr, "volleen: cannot use the data folder %s: %s\n",
                     options.dataDir.c_str(), std::strerror(errno));
        return 1;
    }
    SkipIntro = options.skipIntro;
    platform::SetStartOptions(options.start);
    return WinMain();
}
