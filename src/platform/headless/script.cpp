// The input script: one timed command a line.
#include <iterator>
#include <sstream>

#include "common/parse_integer.h"
#include "platform/headless/state.h"

namespace headless::detail {

namespace {

// A script plays one sitting: a day of virtual time is far more than any needs.
constexpr int64_t MaxScriptMs = 24 * 60 * 60 * 1000;

bool ParseUpDown(const std::string& field, bool* down) {
    if (field == "down") {
        *down = true;
        return true;
    }
    if (field == "up") {
        *down = false;
        return true;
    }
    return false;
}

// The names SDL's game-controller mappings use, in the order of the enums.
// clang-format off
constexpr const char* PadButtonNames[] = {
    "a", "b", "x", "y", "back", "guide", "start", "leftstick", "rightstick", "leftshoulder",
    "rightshoulder", "dpup", "dpdown", "dpleft", "dpright"};
// clang-format on
constexpr const char* PadAxisNames[] = {"leftx",  "lefty",       "rightx",
                                        "righty", "lefttrigger", "righttrigger"};
static_assert(std::size(PadButtonNames) == static_cast<size_t>(platform::PadButton::Count));
static_assert(std::size(PadAxisNames) == static_cast<size_t>(platform::PadAxis::Count));

template <size_t N>
int32_t IndexOfName(const char* const (&names)[N], const std::string& name) {
    for (size_t i = 0; i < N; ++i) {
        if (name == names[i]) return static_cast<int32_t>(i);
    }
    return -1;
}

// `pad <n> added|removed`, `pad <n> button <name> down|up`, `pad <n> axis
// <name> <value>`. `connected` follows the lines read so far, so a line for a
// pad that is not plugged in is caught here rather than ignored later.
std::string ParsePad(const std::vector<std::string>& fields, bool connected[], ScriptEvent* event) {
    int64_t value = 0;
    if (fields.size() < 4) return "pad needs a number and added, removed, button or axis";
    if (!ParseInteger(fields[2], 0, platform::MaxPads - 1, &value)) {
        return "bad pad number '" + fields[2] + "' (0 to " + std::to_string(platform::MaxPads - 1) +
               ")";
    }
    event->which = static_cast<int32_t>(value);
    const std::string& what = fields[3];
    if (what == "added" || what == "removed") {
        if (fields.size() != 4) return "pad " + what + " takes nothing more";
        event->kind = EventKind::PadPlug;
        event->down = what == "added";
        if (connected[event->which] == event->down) {
            return "pad " + fields[2] + " is already " + (event->down ? "connected" : "out");
        }
        connected[event->which] = event->down;
        return "";
    }
    // The word first: "pad 0 plugged" is a wrong word, whatever pad 0 is.
    if (what != "button" && what != "axis") {
        return "expected added, removed, button or axis, got '" + what + "'";
    }
    if (!connected[event->which]) return "pad " + fields[2] + " is not connected";
    if (fields.size() != 6) return "pad " + what + " needs a name and a value";
    if (what == "button") {
        event->kind = EventKind::PadButton;
        event->control = IndexOfName(PadButtonNames, fields[4]);
        if (event->control < 0) return "unknown pad button '" + fields[4] + "'";
        if (!ParseUpDown(fields[5], &event->down)) {
            return "expected down or up, got '" + fields[5] + "'";
        }
    } else {
        event->kind = EventKind::PadAxis;
        event->control = IndexOfName(PadAxisNames, fields[4]);
        if (event->control < 0) return "unknown pad axis '" + fields[4] + "'";
        if (!ParseInteger(fields[5], -32768, 32767, &value)) {
            return "bad axis value '" + fields[5] + "' (-32768 to 32767)";
        }
        event->value = static_cast<int32_t>(value);
    }
    return "";
}

// A shot's name becomes a file name inside the shots folder: no way out of it.
bool SafeFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find('/') == std::string::npos && name.find('\\') == std::string::npos;
}

// Parses one line's fields into `event`; a reason when they are wrong.
std::string ParseFields(const std::vector<std::string>& fields, uint64_t previousMs,
                        bool padsConnected[], ScriptEvent* event) {
    int64_t value = 0;
    if (!ParseInteger(fields[0], 0, INT64_MAX, &value)) return "bad time '" + fields[0] + "'";
    if (value > MaxScriptMs) {
        return "time " + fields[0] +
               " is past a day (a day at most: " + std::to_string(MaxScriptMs) + " ms)";
    }
    event->ms = static_cast<uint64_t>(value);
    if (event->ms < previousMs) return "time goes backwards";
    if (fields.size() < 2) return "no command";

    const std::string& command = fields[1];
    const size_t arguments = fields.size() - 2;
    if (command == "key") {
        if (arguments != 2) return "key needs a code and down|up";
        if (!ParseInteger(fields[2], 0, 255, &value)) return "bad key code '" + fields[2] + "'";
        event->kind = EventKind::Key;
        event->which = static_cast<int32_t>(value);
        if (!ParseUpDown(fields[3], &event->down))
            return "expected down or up, got '" + fields[3] + "'";
    } else if (command == "mouse") {
        if (arguments != 2) return "mouse needs dx and dy";
        int64_t dy = 0;
        if (!ParseInteger(fields[2], -1000000, 1000000, &value) ||
            !ParseInteger(fields[3], -1000000, 1000000, &dy)) {
            return "bad mouse motion";
        }
        event->kind = EventKind::Mouse;
        event->dx = static_cast<int32_t>(value);
        event->dy = static_cast<int32_t>(dy);
    } else if (command == "button") {
        if (arguments != 2) return "button needs a number and down|up";
        if (!ParseInteger(fields[2], 0, 3, &value)) return "bad button '" + fields[2] + "'";
        event->kind = EventKind::Button;
        event->which = static_cast<int32_t>(value);
        if (!ParseUpDown(fields[3], &event->down))
            return "expected down or up, got '" + fields[3] + "'";
    } else if (command == "pad") {
        return ParsePad(fields, padsConnected, event);
    } else if (command == "focus") {
        if (arguments != 1 || (fields[2] != "out" && fields[2] != "in")) {
            return "focus needs out or in";
        }
        event->kind = EventKind::Focus;
        event->down = fields[2] == "out";
    } else if (command == "close") {
        if (arguments != 0) return "close takes nothing more";
        event->kind = EventKind::Close;
    } else if (command == "shot") {
        if (arguments != 1) return "shot needs one file name";
        if (!SafeFileName(fields[2])) return "bad shot name '" + fields[2] + "'";
        event->kind = EventKind::Shot;
        event->name = fields[2];
    } else {
        return "unknown command '" + command + "'";
    }
    return "";
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error) {
    events->clear();
    std::istringstream input(text);
    std::string line;
    int lineNumber = 0;
    uint64_t previousMs = 0;
    bool padsConnected[platform::MaxPads] = {};
    while (std::getline(input, line)) {
        ++lineNumber;
        const size_t comment = line.find('#');
        if (comment != std::string::npos) line.erase(comment);
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;) fields.push_back(word);
        if (fields.empty()) continue;

        ScriptEvent event;
        const std::string why = ParseFields(fields, previousMs, padsConnected, &event);
        if (!why.empty()) {
            if (error) *error = "script line " + std::to_string(lineNumber) + ": " + why;
            events->clear();
            return false;
        }
        previousMs = event.ms;
        events->push_back(std::move(event));
    }
    return true;
}

}  // namespace headless::detail
