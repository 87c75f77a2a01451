// The game's command line: a few conventional options, read before the
// window is made. Without any, the game runs exactly as designed.
#pragma once

#include <string>

#include "online/options.h"
#include "platform/platform.h"

struct CommandLine {
    bool help = false;
    bool version = false;
    bool skipIntro = false;
    std::string dataDir;           // empty: the data is looked for in the usual places
    std::string replay;            // a replay file (or "last") to play instead of the game
    bool placeGiven = false;       // --window or --fullscreen: not the remembered choice
    OnlineChoice online;           // --host, --join, --watch, --relay
    platform::StartOptions start;  // handed to the backend before the window exists
};

// Reads argv[1..argc-1] into `options`. False with one line saying what is
// wrong in `error` (an unknown option, a missing value, a stray argument).
bool ParseCommandLine(int argc, const char* const* argv, CommandLine* options, std::string* error);

// The usage text, a line per option, ending in a newline.
std::string CommandLineUsage();
