// The browser has no UDP: it will meet other players through a relay. Until
// then every online call says so.
#include "platform/platform.h"

namespace platform {

namespace {
constexpr const char* NotHere = "online play is not in the browser yet";
}

bool NetListen(uint16_t, int32_t, std::string* why) {
    *why = NotHere;
    return false;
}
bool NetConnect(const char*, uint16_t, std::string* why) {
    *why = NotHere;
    return false;
}
bool NetPoll(NetEvent*) { return false; }
void NetSend(uint32_t, const uint8_t*, size_t, bool) {}
void NetDisconnect(uint32_t) {}
void NetClose() {}
void NetImpair(uint32_t, uint32_t, uint32_t, uint32_t) {}
void NetTraffic(uint64_t* sent, uint64_t* received) { *sent = *received = 0; }
std::vector<std::string> NetLocalAddresses() { return {}; }

}  // namespace platform
