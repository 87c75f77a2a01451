#include "status.h"

#include <cstdio>

namespace relay {

void Status::Sample(const RelayCounts& counts, uint64_t nowMs) {
    if (nowMs <= lastAt_) return;
    const double seconds = static_cast<double>(nowMs - lastAt_) / 1000.0;
    messagesPerSecond_ = static_cast<double>(counts.messages - lastMessages_) / seconds;
    bytesPerSecond_ = static_cast<double>(counts.bytes - lastBytes_) / seconds;
    lastMessages_ = counts.messages;
    lastBytes_ = counts.bytes;
    lastAt_ = nowMs;
}

std::string Status::Json(const RelayCounts& counts, uint64_t nowMs) const {
    char text[320];
    std::snprintf(text, sizeof text,
                  "{\"rooms\":%zu,\"players\":%zu,\"watchers\":%zu,\"peers\":%zu,"
                  "\"messages_per_second\":%.1f,\"bytes_per_second\":%.1f,"
                  "\"uptime_seconds\":%llu}",
                  counts.rooms, counts.players, counts.watchers, counts.peers, messagesPerSecond_,
                  bytesPerSecond_, static_cast<unsigned long long>((nowMs - start_) / 1000));
    return text;
}

}  // namespace relay
