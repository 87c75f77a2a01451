// What a player types to go online: where to host or join, and (tests and
// benchmarks) how to impair the link.
#pragma once

#include <cstdint>
#include <string>

// "PORT" for a host. False with one line in `why` for anything but 1 to 65535.
bool ParseOnlinePort(const std::string& text, uint16_t* port, std::string* why);
// "HOST", "HOST:PORT", "[ADDRESS]:PORT" or a bare IPv6 address; the port is
// the default when not given.
bool ParseOnlineAddress(const std::string& text, std::string* host, uint16_t* port,
                        std::string* why);
// For tests and benchmarks: what one side sends, made late and lossy
// (platform::NetImpair takes it).
struct NetImpairment {
    uint32_t delayMs = 0;
    uint32_t jitterMs = 0;     // each message is late by delay +- up to this
    uint32_t lossPercent = 0;  // of the unreliable messages
    uint32_t seed = 1;
};

// "delay=MS,jitter=MS,loss=PERCENT,seed=N", any of them, in any order.
bool ParseNetImpairment(const std::string& text, NetImpairment* impairment, std::string* why);
