// volleen-headless: the whole game on the headless backend, driven by a
// script and watched through a trace.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "clock/pause.h"
#include "common/file_limits.h"
#include "common/file_read.h"
#include "common/os.h"
#include "common/printable.h"
#include "platform/headless/headless.h"
#include "runner_options.h"
#include "shell/replays.h"
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
    // A closed pipe is a failed write, said as one, not a silent death.
    os::IgnoreBrokenPipes();
    RunnerOptions options;
    std::string error;
    if (!ParseRunnerArguments(argc, argv, &options, &error)) return BadUse(error);
    if (options.help) {
        std::fputs(RunnerUsage, stdout);
        if (std::fflush(stdout) != 0) {
            std::fprintf(stderr, "volleen-headless: cannot write the usage: %s\n",
                         std::strerror(errno));
            return 4;
        }
        return 0;
    }

    headless::Options backend;
    if (!options.scriptFile.empty()) {
        std::vector<uint8_t> script;
        if (!ReadWholeFile(options.scriptFile.c_str(), MAX_SCRIPT_FILE_BYTES, &script, &error)) {
            // The arguments were right: the usage would say nothing more.
            std::fprintf(stderr, "volleen-headless: cannot read the script %s: %s\n",
                         Printable(options.scriptFile).c_str(), error.c_str());
            return 2;
        }
        backend.scriptText.assign(script.begin(), script.end());
    }
    backend.startTick = options.startTick;
    backend.epoch = options.epoch;
    // The other side of an online match lives in real time.
    if (!TakeOnlineChoice(options.online, &error)) return BadUse(error);
    backend.realtime = options.realtime || OnlineSide != OnlineRole::Off;
    const NetImpairment& impair = options.impairment;
    platform::NetImpair(impair.delayMs, impair.jitterMs, impair.lossPercent, impair.seed);
    OnlineDesyncAt = options.desyncAt;
    SkipIntro = options.skipIntro;
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
        // Binary: the trace's lines end in '\n' on every system.
        TraceFile = std::fopen(options.traceFile.c_str(), "wb");
        if (TraceFile == nullptr) return BadUse("cannot write the trace " + options.traceFile);
        os::OnCrash(FlushOnFault);
    }

    TraceWriter writer(TraceFile, options.shotsDir, options.audioOut, options.traceFile);
    headless::SetObserver(&writer);

    ReplayRecordFile = options.recordFile;
    ReplayFolder = options.replaysDir;
    const int32_t code = options.replayFile.empty() ? WinMain() : ReplayMain(options.replayFile);

    writer.WriteExit(headless::VirtualMs(), code);
    bool written = writer.Finish();
    headless::SetObserver(nullptr);
    if (TraceFile != nullptr && std::fclose(TraceFile) != 0 && written) {
        std::fprintf(stderr, "volleen-headless: cannot write %s: %s\n", options.traceFile.c_str(),
                     std::strerror(errno));
        written = false;
    }
    // An output asked for and not written is a failed run, whatever the game did.
    return written ? code : 4;
}
