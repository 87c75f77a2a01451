#include "online/options.h"

#include <sstream>

#include "common/parse_integer.h"
#include "common/printable.h"
#include "online/protocol.h"

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
                        std::string* why) {
    *port = ONLINE_DEFAULT_PORT;
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
