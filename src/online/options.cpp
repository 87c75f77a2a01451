#include "online/options.h"

#include <sstream>

#include "common/parse_integer.h"
#include "common/printable.h"
#include "online/protocol.h"

OnlineRole OnlineSide = OnlineRole::Off;
std::string OnlineAddress;
uint16_t OnlinePort = ONLINE_DEFAULT_PORT;
bool OnlineViaRelay = false;
std::string OnlineRoom;

namespace {

// 'text', as typed, for a message.
std::string Quoted(const std::string& text) {
    std::string quoted(1, '\'');
    quoted += Printable(text);
    quoted += '\'';
    return quoted;
}

}  // namespace

bool ParseOnlinePort(const std::string& text, uint16_t* port, std::string* why) {
    int64_t value = 0;
    if (!ParseInteger(text, 1, 65535, &value)) {
        *why = Quoted(text) + " is not a port (1 to 65535)";
        return false;
    }
    *port = static_cast<uint16_t>(value);
    return true;
}

bool ParseOnlineAddress(const std::string& text, std::string* host, uint16_t* port,
                        std::string* why, uint16_t defaultPort) {
    *port = defaultPort;
    bool portGiven = false;
    std::string portText;
    if (!text.empty() && text[0] == '[') {
        const size_t close = text.find(']');
        if (close == std::string::npos || (close + 1 < text.size() && text[close + 1] != ':')) {
            *why = Quoted(text) + " is not an address ([ADDRESS]:PORT)";
            return false;
        }
        *host = text.substr(1, close - 1);
        portGiven = close + 1 < text.size();
        if (portGiven) portText = text.substr(close + 2);
    } else if (text.find(':') != text.rfind(':')) {
        *host = text;  // an IPv6 address, without a port
    } else {
        const size_t colon = text.find(':');
        *host = text.substr(0, colon);
        portGiven = colon != std::string::npos;
        if (portGiven) portText = text.substr(colon + 1);
    }
    if (host->empty()) {
        *why = Quoted(text) + " names no host";
        return false;
    }
    return !portGiven || ParseOnlinePort(portText, port, why);
}

namespace {

bool TakeRoomCode(const std::string& typed, std::string* why) {
    OnlineRoom = NormalRoomCode(typed);
    if (OnlineRoom.empty()) *why = Quoted(typed) + " is not a room code (five letters)";
    return !OnlineRoom.empty();
}

// A relay is named as HOST[:PORT]; a browser's also as a ws:// or wss:// URL,
// which the link takes whole.
bool TakeRelay(const std::string& relay, std::string* why) {
    OnlineViaRelay = true;
    if (relay.rfind("ws://", 0) == 0 || relay.rfind("wss://", 0) == 0) {
        OnlineAddress = relay;
        OnlinePort = RELAY_DEFAULT_PORT;
        return true;
    }
    return ParseOnlineAddress(relay, &OnlineAddress, &OnlinePort, why, RELAY_DEFAULT_PORT);
}

}  // namespace

bool TakeOnlineChoice(const OnlineChoice& choice, std::string* why) {
    const int parts =
        (choice.hosting ? 1 : 0) + (choice.join.empty() ? 0 : 1) + (choice.watch.empty() ? 0 : 1);
    if (parts > 1) {
        *why = "only one of --host, --join and --watch at a time";
        return false;
    }
    OnlineViaRelay = false;
    OnlineRoom.clear();
    if (parts == 0) {
        if (!choice.relay.empty()) *why = "--relay goes with --host, --join or --watch";
        return choice.relay.empty();
    }
    if (choice.relay.empty()) {
        if (!choice.watch.empty()) {
            *why = "--watch needs --relay: matches are watched through a relay";
            return false;
        }
        if (choice.hosting) {
            OnlineSide = OnlineRole::Host;
            return choice.hostPort.empty() || ParseOnlinePort(choice.hostPort, &OnlinePort, why);
        }
        OnlineSide = OnlineRole::Guest;
        return ParseOnlineAddress(choice.join, &OnlineAddress, &OnlinePort, why);
    }
    if (!TakeRelay(choice.relay, why)) return false;
    if (choice.hosting) {
        OnlineSide = OnlineRole::Host;
        if (!choice.hostPort.empty()) *why = "--host takes no port with --relay: the relay has it";
        return choice.hostPort.empty();
    }
    OnlineSide = choice.join.empty() ? OnlineRole::Watcher : OnlineRole::Guest;
    return TakeRoomCode(choice.join.empty() ? choice.watch : choice.join, why);
}

bool ParseNetImpairment(const std::string& text, NetImpairment* impairment, std::string* why) {
    NetImpairment parsed;
    std::istringstream parts(text);
    for (std::string part; std::getline(parts, part, ',');) {
        const size_t equals = part.find('=');
        const std::string name = part.substr(0, equals);
        int64_t value = 0;
        const bool number =
            equals != std::string::npos && ParseInteger(part.substr(equals + 1), 0, 60000, &value);
        uint32_t* field = name == "delay"    ? &parsed.delayMs
                          : name == "jitter" ? &parsed.jitterMs
                          : name == "loss"   ? &parsed.lossPercent
                          : name == "seed"   ? &parsed.seed
                                             : nullptr;
        if (field == nullptr || !number || (field == &parsed.lossPercent && value > 100)) {
            *why = Quoted(part) + " is not delay=MS, jitter=MS, loss=PERCENT or seed=N";
            return false;
        }
        *field = static_cast<uint32_t>(value);
    }
    *impairment = parsed;
    return true;
}
