// What GET /status says: the relay's counts now and its traffic over the
// last second, as one line of JSON.
#pragma once

#include <cstdint>
#include <string>

#include "rooms.h"

namespace relay {

class Status {
public:
    explicit Status(uint64_t startMs) : start_(startMs), lastAt_(startMs) {}
    // Once a second: the rates are over the time since the last call.
    void Sample(const RelayCounts& counts, uint64_t nowMs);
    std::string Json(const RelayCounts& counts, uint64_t nowMs) const;

private:
    uint64_t start_;
    uint64_t lastAt_;
    uint64_t lastMessages_ = 0;
    uint64_t lastBytes_ = 0;
    double messagesPerSecond_ = 0;
    double bytesPerSecond_ = 0;
};

}  // namespace relay
