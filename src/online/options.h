// What a player types to go online: where to host or join, and (tests and
// benchmarks) how to impair the link.
#pragma once

#include <cstdint>
#include <string>

#include "online/protocol.h"

// A watcher plays neither paddle: it plays the match from both players'
// inputs as a relay passes them on, a couple of seconds behind.
enum class OnlineRole : uint8_t { Off, Host, Guest, Watcher };

extern OnlineRole OnlineSide;      // this machine's part; Off: a local game
extern std::string OnlineAddress;  // the host's (or the relay's) name or address
extern uint16_t OnlinePort;
extern bool OnlineViaRelay;     // the two sides meet through a relay, by room code
extern std::string OnlineRoom;  // the room's code: given to join or watch, or made

// What was typed to go online, before it is checked: --host [PORT],
// --join HOST[:PORT] or CODE, --watch CODE, --relay ADDRESS.
struct OnlineChoice {
    bool hosting = false;
    std::string hostPort;  // "" for the default
    std::string join;
    std::string watch;
    std::string relay;
};

// Sets this machine's part (OnlineSide, OnlineAddress, OnlinePort,
// OnlineRoom, OnlineViaRelay) from the choice; nothing chosen leaves a local
// game. False with one line in `why` for choices that do not go together or
// do not read.
bool TakeOnlineChoice(const OnlineChoice& choice, std::string* why);
// "PORT" for a host. False with one line in `why` for anything but 1 to 65535.
bool ParseOnlinePort(const std::string& text, uint16_t* port, std::string* why);
// "HOST", "HOST:PORT", "[ADDRESS]:PORT" or a bare IPv6 address; the port is
// `defaultPort` when not given.
bool ParseOnlineAddress(const std::string& text, std::string* host, uint16_t* port,
                        std::string* why, uint16_t defaultPort = ONLINE_DEFAULT_PORT);
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
