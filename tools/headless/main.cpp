// volleen-headless: the whole game on the headless backend, driven by a
// script and watched through a trace.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/headless/headless.h"
#include "runner_options.h"
#include "shell/shell.h"
#include "trace.h"

namespace {

// Without --until a run still ends: this long past the script's last line
// (the game may wait in its menu for ever).
constexpr int64_t DefaultLimitAfterScript = 600000;

FILE* TraceFile = nullptr;

// A crash still leaves the trace up to the fault on disk.
void FlushOnFault(int signal) {
    if (TraceFile != nullptr) std::fflush(TraceFile);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

int BadUse(const std::string& why) {
    std::fprintf(stderr, "volleen-headless: %s\n%s", why.c_str(), RunnerUsage);
    return 2;
}

bool ReadWholeFile(const std::string& name, std::string* text) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    *text = all.str();
    return !in.bad();
}

// The time of the script's last line (0 for none). A bad script is refused
// by the backend afterwards, so the number then does not matter.
int64_t LastScriptMs(const std::string& script) {
    std::istringstream lines(script);
    int64_t last = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        int64_t ms;
        if (words >> ms) last = ms;
    }
    return last;
}

}  // namespace

int main(int argc, char** argv) {
    RunnerOptions options;
    std::string error;
    if (!ParseRunnerArguments(argc, argv, &options, &error)) return BadUse(error);
    if (options.help) {
        std::fputs(RunnerUsage, stdout);
        return 0;
    }

    headless::Options backend;
    if (!options.scriptFile.empty() && !ReadWholeFile(options.scriptFile, &backend.scriptText)) {
        return BadUse("cannot read the script " + options.scriptFile);
    }
    backend.startTick = options.startTick;
    backend.epoch = options.epoch;
    backend.realtime = options.realtime;
    backend.mixAudio = !options.audioOut.empty();
    backend.untilMs = options.untilMs >= 0
                          ? options.untilMs
                          : LastScriptMs(backend.scriptText) + DefaultLimitAfterScript;
    if (!headless::Configure(backend, &error)) return BadUse(error);

    if (!options.shotsDir.empty()) {
        std::error_code failed;
        std::filesystem::create_directories(options.shotsDir, failed);
        if (!std::filesystem::is_directory(options.shotsDir)) {
            return BadUse("cannot make the shots folder " + options.shotsDir);
        }
    }
    if (!options.traceFile.empty()) {
        TraceFile = std::fopen(options.traceFile.c_str(), "w");
        if (TraceFile == nullptr) return BadUse("cannot write the trace " + options.traceFile);
        for (int fault : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL})
            std::signal(fault, FlushOnFault);
    }

    TraceWriter writer(TraceFile, options.shotsDir, options.audioOut);
    headless::SetObserver(&writer);

    const int32_t code = WinMain();

    writer.WriteExit(headless::VirtualMs(), code);
    const bool written = writer.Finish();
    headless::SetObserver(nullptr);
    if (TraceFile != nullptr) std::fclose(TraceFile);
    if (!written) std::fprintf(stderr, "volleen-headless: some output could not be written\n");
    return code;
}
