#include "runner_options.h"

#include "common/parse_integer.h"
#include "common/printable.h"
#include "online/options.h"

const char* const RunnerUsage =
    "usage: volleen-headless [--script FILE] [--trace FILE] [--shots DIR] [--audio-out FILE]\n"
    "                        [--until MS] [--epoch SECONDS] [--start-tick N] [--realtime]\n"
    "                        [--skip-intro]\n"
    "                        [--record FILE] [--replays DIR] [--replay FILE] [--help]\n"
    "                        [--host [PORT] | --join ADDRESS:PORT | --join CODE | --watch CODE]\n"
    "                        [--relay ADDRESS[:PORT]] [--net-impair SPEC]\n"
    "                        [--net-desync-at FRAME]\n"
    "  --record FILE   keep each match played as a replay in FILE (the last one stays)\n"
    "  --replays DIR   keep every match in DIR, as the game keeps them\n"
    "  --replay FILE   play the replay FILE instead of the game: exit 0 when it plays\n"
    "                  to its end as recorded, 4 when it goes another way, 2 when the\n"
    "                  file cannot be played\n"
    "  --host [PORT]   wait for a player on PORT and play them online (real time);\n"
    "                  with --relay, make a room there (its code goes to stdout)\n"
    "  --join ADDRESS:PORT  join the player hosting there (real time)\n"
    "  --join CODE, --watch CODE  with --relay: join or watch the match in that room\n"
    "  --net-impair delay=MS,jitter=MS,loss=PERCENT,seed=N\n"
    "                  make what this side sends late and lossy\n"
    "  --net-desync-at FRAME  put this side out of step after that frame of the\n"
    "                  first match (to test the checksums)\n";

namespace {

// The end of the year 9999, and as far before 1970.
constexpr int64_t MaxEpoch = 253402300799;

}  // namespace

bool ParseRunnerArguments(int argc, char** argv, RunnerOptions* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--realtime") {
            options->realtime = true;
            continue;
        }
        if (name == "--skip-intro") {
            options->skipIntro = true;
            continue;
        }
        if (name == "--help") {
            options->help = true;
            continue;
        }
        // As in the game: a host through a relay gives no port.
        if (name == "--host" && (i + 1 >= argc || std::string(argv[i + 1]).rfind("--", 0) == 0)) {
            options->online.hosting = true;
            continue;
        }
        const bool known = name == "--script" || name == "--trace" || name == "--shots" ||
                           name == "--audio-out" || name == "--until" || name == "--epoch" ||
                           name == "--start-tick" || name == "--record" || name == "--replay" ||
                           name == "--replays" || name == "--host" || name == "--join" ||
                           name == "--watch" || name == "--relay" || name == "--net-impair" ||
                           name == "--net-desync-at";
        if (!known) {
            *error = "unknown argument '" + Printable(name) + "'";
            return false;
        }
        if (i + 1 >= argc) {
            *error = name + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        int64_t number = 0;
        if (name == "--script") {
            options->scriptFile = value;
        } else if (name == "--trace") {
            options->traceFile = value;
        } else if (name == "--shots") {
            options->shotsDir = value;
        } else if (name == "--record") {
            options->recordFile = value;
        } else if (name == "--replays") {
            options->replaysDir = value;
        } else if (name == "--replay") {
            options->replayFile = value;
        } else if (name == "--host") {
            options->online.hosting = true;
            options->online.hostPort = value;
        } else if (name == "--join") {
            options->online.join = value;
        } else if (name == "--watch") {
            options->online.watch = value;
        } else if (name == "--relay") {
            options->online.relay = value;
        } else if (name == "--net-impair") {
            if (!ParseNetImpairment(value, &options->impairment, error)) return false;
        } else if (name == "--net-desync-at") {
            if (!ParseInteger(value, 0, UINT32_MAX - 1, &number)) {
                *error = "--net-desync-at needs a frame number, got '" + Printable(value) + "'";
                return false;
            }
            options->desyncAt = static_cast<uint32_t>(number);
        } else if (name == "--audio-out") {
            options->audioOut = value;
        } else if (name == "--until") {
            // Virtual time is counted in 32-bit milliseconds in the trace.
            if (!ParseInteger(value, 0, UINT32_MAX, &number)) {
                *error = "--until needs milliseconds, got '" + Printable(value) + "'";
                return false;
            }
            options->untilMs = number;
        } else if (name == "--epoch") {
            // The calendar goes on from here for the whole run, so it must
            // stay far from the ends of its 64-bit count.
            if (!ParseInteger(value, -MaxEpoch, MaxEpoch, &number)) {
                *error = "--epoch needs seconds from -" + std::to_string(MaxEpoch) + " to " +
                         std::to_string(MaxEpoch) + ", got '" + Printable(value) + "'";
                return false;
            }
            options->epoch = number;
        } else {
            if (!ParseInteger(value, 0, UINT32_MAX, &number)) {
                *error =
                    "--start-tick needs a number 0 to 4294967295, got '" + Printable(value) + "'";
                return false;
            }
            options->startTick = static_cast<uint32_t>(number);
        }
    }
    return true;
}
