#include "shell/command_line.h"

#include <algorithm>

#include "common/printable.h"

namespace {

// One row per option: adding an option is adding a row (and a field).
struct OptionRow {
    const char* name;       // with its leading dashes
    const char* valueName;  // shown in the usage; null for an option without a value
    bool optional;          // the value may be left out
    const char* help;
    void (*apply)(CommandLine& options, const std::string& value);
};

const OptionRow OptionTable[] = {
    {"--help", nullptr, false, "show this help and exit (also -h)",
     [](CommandLine& o, const std::string&) { o.help = true; }},
    {"--version", nullptr, false, "show the version and exit",
     [](CommandLine& o, const std::string&) { o.version = true; }},
    {"--window", nullptr, false, "start in a window (Alt+Enter switches)",
     [](CommandLine& o, const std::string&) {
         o.start.fullScreen = false;
         o.placeGiven = true;
     }},
    {"--fullscreen", nullptr, false, "start full screen (the default)",
     [](CommandLine& o, const std::string&) {
         o.start.fullScreen = true;
         o.placeGiven = true;
     }},
    {"--data", "DIR", false, "read the pictures and sounds from DIR",
     [](CommandLine& o, const std::string& value) { o.dataDir = value; }},
    {"--replay", "FILE", false, "play a replay (FILE, or last: the newest kept) and exit",
     [](CommandLine& o, const std::string& value) { o.replay = value; }},
    {"--skip-intro", nullptr, false, "no pauses on the two logos and the credits",
     [](CommandLine& o, const std::string&) { o.skipIntro = true; }},
    {"--host", "[PORT]", true, "wait for a player to play online (UDP port 24860 unless PORT)",
     [](CommandLine& o, const std::string& value) {
         o.online.hosting = true;
         o.online.hostPort = value;
     }},
    {"--join", "HOST[:PORT]", false,
     "play online with the player hosting at HOST (with --relay: the room's code)",
     [](CommandLine& o, const std::string& value) { o.online.join = value; }},
    {"--watch", "CODE", false, "watch the match in room CODE (with --relay)",
     [](CommandLine& o, const std::string& value) { o.online.watch = value; }},
    {"--relay", "HOST[:PORT]", false,
     "meet through the relay at HOST (port 24861 unless PORT): --host makes a room",
     [](CommandLine& o, const std::string& value) { o.online.relay = value; }},
    {"--frame-stats", nullptr, false, "at the end, print frame timing and drawing cost in one line",
     [](CommandLine& o, const std::string&) { o.start.frameStats = true; }},
};

const OptionRow* FindOption(const std::string& name) {
    for (const OptionRow& row : OptionTable) {
        if (name == row.name) return &row;
    }
    return nullptr;
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, CommandLine* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        // -h is what people try first.
        const std::string word = std::string(argv[i]) == "-h" ? "--help" : argv[i];
        if (word.rfind("--", 0) != 0 || word == "--") {
            *error = "unexpected argument '" + Printable(word) + "'";
            return false;
        }
        // Both "--data DIR" and "--data=DIR".
        const size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const OptionRow* row = FindOption(name);
        if (row == nullptr) {
            *error = "unknown option '" + Printable(name) + "'";
            return false;
        }
        std::string value;
        if (row->valueName == nullptr) {
            if (equals != std::string::npos) {
                *error = name + " takes no value";
                return false;
            }
        } else if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < argc &&
                   !(row->optional && std::string(argv[i + 1]).rfind("--", 0) == 0)) {
            value = argv[++i];
        }
        if (row->valueName != nullptr && value.empty() && !row->optional) {
            *error = name + " needs a " + row->valueName;
            return false;
        }
        row->apply(*options, value);
    }
    return true;
}

std::string CommandLineUsage() {
    std::string usage = "usage: volleen [OPTION]...\n";
    for (const OptionRow& row : OptionTable) {
        std::string left = row.name;
        if (row.valueName != nullptr) left += std::string(" ") + row.valueName;
        left.resize(std::max<size_t>(left.size() + 2, 18), ' ');
        usage += "  " + left + row.help + "\n";
    }
    return usage;
}
