#include "config.h"

#include <cstddef>
#include <set>
#include <string_view>
#include <vector>

#include "common/file_limits.h"
#include "common/file_read.h"
#include "common/parse_integer.h"

namespace relay {

namespace {

struct Field {
    const char* name;
    uint32_t Limits::*value;
    int64_t low;
    int64_t high;
};

// The ranges keep a relay that can work: a limit of 0 would refuse
// everyone, and the message size cannot pass what the protocol allows.
const Field Fields[] = {
    {"max_rooms", &Limits::max_rooms, 1, 1000000},
    {"max_peers", &Limits::max_peers, 1, 1000000},
    {"max_connections_per_address", &Limits::max_connections_per_address, 1, 1000000},
    {"max_messages_per_second", &Limits::max_messages_per_second, 1, 100000},
    {"max_message_burst", &Limits::max_message_burst, 1, 1000000},
    {"max_message_bytes", &Limits::max_message_bytes, 16, ONLINE_MAX_MESSAGE},
    {"max_watchers_per_room", &Limits::max_watchers_per_room, 0, 100000},
    {"hello_timeout_s", &Limits::hello_timeout_s, 1, 3600},
    {"room_idle_s", &Limits::room_idle_s, 1, 7 * 24 * 3600},
    {"max_queued_bytes", &Limits::max_queued_bytes, 1024, 64 << 20},
    {"http_header_bytes", &Limits::http_header_bytes, 512, 1 << 20},
    {"max_match_frames", &Limits::max_match_frames, 1, 1 << 24},
};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

bool ParseLimits(const std::string& text, Limits* limits, std::string* why) {
    Limits read = *limits;
    std::set<std::string_view> seen;
    size_t number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string_view::npos) line = line.substr(0, hash);
        line = Trim(line);
        if (line.empty()) continue;
        const std::string at = "line " + std::to_string(number) + ": ";
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            *why = at + "not `name = value`";
            return false;
        }
        const std::string_view name = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        const Field* field = nullptr;
        for (const Field& f : Fields) {
            if (name == f.name) field = &f;
        }
        if (field == nullptr) {
            *why = at + "no limit is called '" + std::string(name.substr(0, 64)) + "'";
            return false;
        }
        if (!seen.insert(field->name).second) {
            *why = at + field->name + " is given twice";
            return false;
        }
        int64_t number_value = 0;
        if (!ParseInteger(value, field->low, field->high, &number_value)) {
            *why = at + field->name + " must be a whole number from " + std::to_string(field->low) +
                   " to " + std::to_string(field->high);
            return false;
        }
        read.*(field->value) = static_cast<uint32_t>(number_value);
    }
    *limits = read;
    return true;
}

bool ReadLimits(const std::string& path, Limits* limits, std::string* why) {
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!ReadWholeFile(path.c_str(), MAX_RELAY_CONFIG_BYTES, &bytes, &reason)) {
        *why = path + ": " + reason;
        return false;
    }
    if (!ParseLimits(std::string(bytes.begin(), bytes.end()), limits, &reason)) {
        *why = path + ": " + reason;
        return false;
    }
    return true;
}

}  // namespace relay
