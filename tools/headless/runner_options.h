// The runner's command line.
#pragma once

#include <cstdint>
#include <string>

struct RunnerOptions {
    std::string scriptFile;
    std::string traceFile;
    std::string shotsDir;
    std::string audioOut;
    std::string recordFile;  // each match kept as a replay here
    std::string replayFile;  // a replay played instead of the game
    int64_t untilMs = -1;
    int64_t epoch = 1700000000;
    uint32_t startTick = 0;
    bool realtime = false;
    bool help = false;
};

// Reads argv into `options`; false with the reason in `error`.
bool ParseRunnerArguments(int argc, char** argv, RunnerOptions* options, std::string* error);

extern const char* const RunnerUsage;
