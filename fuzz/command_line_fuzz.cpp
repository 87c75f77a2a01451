// libFuzzer target: the game's and the runner's command-line parsers on any
// words. The input is split at zero bytes into arguments. Whatever they
// refuse is one line; whatever they take holds what was given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../tools/headless/runner_options.h"
#include "shell/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::vector<std::string> words = {"volleen"};
    std::string word;
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(bytes[i]);
        }
    }
    words.push_back(word);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    CommandLine game;
    std::string error;
    if (!ParseCommandLine(argc, argv.data(), &game, &error)) {
        if (error.empty() || error.find('\n') != std::string::npos) std::abort();
    } else if (!game.dataDir.empty() && game.dataDir.size() >= size + 1) {
        std::abort();
    }

    RunnerOptions runner;
    error.clear();
    if (!ParseRunnerArguments(argc, argv.data(), &runner, &error)) {
        if (error.empty() || error.find('\n') != std::string::npos) std::abort();
    } else if (runner.untilMs > static_cast<int64_t>(UINT32_MAX) || runner.epoch < -253402300799 ||
               runner.epoch > 253402300799) {
        std::abort();
    }
    return 0;
}
