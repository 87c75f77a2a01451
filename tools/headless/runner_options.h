// The runner's command line.
#pragma once

#include <cstdint>
#include <string>

#include "online/options.h"
#include "online/session.h"

struct RunnerOptions {
    std::string scriptFile;
    std::string traceFile;
    std::string shotsDir;
    std::string audioOut;
    std::string recordFile;  // each match kept as a replay here
    std::string replaysDir;  // every match kept here, as the game keeps them
    std::string replayFile;  // a replay played instead of the game
    int64_t untilMs = -1;
    int64_t epoch = 1700000000;
    uint32_t startTick = 0;
    bool realtime = false;
    bool skipIntro = false;
    bool help = false;
    // Online (in real time), as the game takes it: host, join or watch.
    OnlineChoice online;
    NetImpairment impairment;
    uint32_t desyncAt = UINT32_MAX;
};

// Reads argv into `options`; false with the reason in `error`.
bool ParseRunnerArguments(int argc, char** argv, RunnerOptions* options, std::string* error);

extern const char* const RunnerUsage;
