// The relay's limits: one record, its defaults, and the file that changes
// them (`name = value` lines, '#' comments). Every limit is here so that
// one file says how much a relay will hold.
#pragma once

#include <cstdint>
#include <string>

#include "online/protocol.h"

namespace relay {

struct Limits {
    uint32_t max_rooms = 5000;
    // Every connection, players, watchers and those not yet in a room; ENet
    // holds at most 4095 of them on UDP whatever this says.
    uint32_t max_peers = 8000;
    uint32_t max_connections_per_address = 32;
    // Per peer, averaged over two seconds: a bucket of `max_message_burst`
    // filled at this rate.
    uint32_t max_messages_per_second = 120;
    uint32_t max_message_burst = 240;
    uint32_t max_message_bytes = ONLINE_MAX_MESSAGE;
    uint32_t max_watchers_per_room = 64;
    uint32_t hello_timeout_s = 10;
    uint32_t room_idle_s = 1800;
    // What may wait to be sent to one peer; a slower reader is dropped.
    uint32_t max_queued_bytes = 64 * 1024;
    uint32_t http_header_bytes = 4096;
    // Frames of one match kept for watchers (about 72 minutes of play).
    uint32_t max_match_frames = uint32_t{1} << 17;
};

// Reads `path` over the defaults in `limits`. False with one line in `why`
// (with the line number) for a file that cannot be read, an unknown name, a
// value that is not a whole number in its range, or a name given twice.
bool ReadLimits(const std::string& path, Limits* limits, std::string* why);
// The same for the text of such a file.
bool ParseLimits(const std::string& text, Limits* limits, std::string* why);

}  // namespace relay
