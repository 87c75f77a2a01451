// The network link of the native game: ENet over UDP. ENet keeps the
// connections, resends what is sent reliably and checks what arrives; the
// game sees whole messages.
//
// Debian's ENet speaks IPv4 only, so the host listens on IPv4 and an IPv6
// address is refused with a reason.
#include <arpa/inet.h>
#include <enet/enet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cstring>
#include <vector>

#include "platform/platform.h"

namespace platform {

namespace {

// Nothing the game sends comes near this; ENet drops anything larger before
// it is put together, and bounds what a peer may keep it holding.
constexpr size_t LargestMessage = 1024;
constexpr size_t MostWaitingBytes = 64 * 1024;
constexpr enet_uint8 ReliableChannel = 0;
constexpr enet_uint8 UnreliableChannel = 1;

ENetHost* Host = nullptr;
uint32_t NextPeerId = 1;
std::vector<uint8_t> Received;  // the last message NetPoll gave
uint64_t SentByLast = 0;        // the last link's traffic, once it is closed
uint64_t ReceivedByLast = 0;

bool Started() {
    static bool started = enet_initialize() == 0;
    return started;
}

bool MakeHost(const ENetAddress* address, int32_t peers, std::string* why) {
    NetClose();
    if (!Started()) {
        *why = "the network library cannot start";
        return false;
    }
    Host = enet_host_create(address, static_cast<size_t>(peers), 2, 0, 0);
    if (Host == nullptr) {
        *why = address != nullptr ? "the UDP port " + std::to_string(address->port) +
                                        " cannot be had (is another game using it?)"
                                  : "no UDP socket can be made";
        return false;
    }
    Host->maximumPacketSize = LargestMessage;
    Host->maximumWaitingData = MostWaitingBytes;
    SentByLast = ReceivedByLast = 0;
    return true;
}

ENetPeer* FindPeer(uint32_t id) {
    if (Host == nullptr) return nullptr;
    for (size_t i = 0; i < Host->peerCount; ++i) {
        ENetPeer* peer = &Host->peers[i];
        if (peer->state != ENET_PEER_STATE_DISCONNECTED &&
            reinterpret_cast<uintptr_t>(peer->data) == id) {
            return peer;
        }
    }
    return nullptr;
}

uint32_t IdOf(ENetPeer* peer) {
    if (peer->data == nullptr) peer->data = reinterpret_cast<void*>(uintptr_t{NextPeerId++});
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(peer->data));
}

}  // namespace

bool NetListen(uint16_t port, int32_t peers, std::string* why) {
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    if (!MakeHost(&address, peers, why)) return false;
    // A machine with many addresses still gets one connection in the match.
    Host->duplicatePeers = static_cast<size_t>(peers);
    return true;
}

bool NetConnect(const char* host, uint16_t port, std::string* why) {
    in6_addr six{};
    if (inet_pton(AF_INET6, host, &six) == 1) {
        *why = "IPv6 addresses cannot be joined yet: use the host's IPv4 address";
        return false;
    }
    ENetAddress address{};
    if (enet_address_set_host(&address, host) != 0) {
        *why = std::string("the host ") + host + " cannot be found";
        return false;
    }
    address.port = port;
    if (!MakeHost(nullptr, 1, why)) return false;
    ENetPeer* peer = enet_host_connect(Host, &address, 2, 0);
    if (peer == nullptr) {
        *why = "no connection can be started";
        NetClose();
        return false;
    }
    IdOf(peer);
    return true;
}

bool NetPoll(NetEvent* event) {
    if (Host == nullptr) return false;
    ENetEvent got{};
    while (enet_host_service(Host, &got, 0) > 0) {
        switch (got.type) {
            case ENET_EVENT_TYPE_CONNECT:
                *event = {NetEventKind::Connected, IdOf(got.peer), nullptr, 0};
                return true;
            case ENET_EVENT_TYPE_DISCONNECT:
                *event = {NetEventKind::Disconnected, IdOf(got.peer), nullptr, 0};
                got.peer->data = nullptr;
                return true;
            case ENET_EVENT_TYPE_RECEIVE:
                Received.assign(got.packet->data, got.packet->data + got.packet->dataLength);
                enet_packet_destroy(got.packet);
                *event = {NetEventKind::Message, IdOf(got.peer), Received.data(), Received.size()};
                return true;
            case ENET_EVENT_TYPE_NONE:
                break;
        }
    }
    return false;
}

void NetSend(uint32_t peer, const uint8_t* bytes, size_t size, bool reliable) {
    ENetPeer* to = FindPeer(peer);
    if (to == nullptr || to->state != ENET_PEER_STATE_CONNECTED) return;
    ENetPacket* packet = enet_packet_create(
        bytes, size, reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (packet == nullptr) return;
    if (enet_peer_send(to, reliable ? ReliableChannel : UnreliableChannel, packet) != 0) {
        enet_packet_destroy(packet);
        return;
    }
    enet_host_flush(Host);
}

void NetDisconnect(uint32_t peer) {
    ENetPeer* to = FindPeer(peer);
    if (to != nullptr) enet_peer_disconnect_later(to, 0);
    if (Host != nullptr) enet_host_flush(Host);
}

void NetClose() {
    if (Host == nullptr) return;
    // What is still queued (a goodbye) gets its one chance to leave.
    for (size_t i = 0; i < Host->peerCount; ++i) {
        if (Host->peers[i].state == ENET_PEER_STATE_CONNECTED) {
            enet_peer_disconnect_now(&Host->peers[i], 0);
        }
    }
    enet_host_flush(Host);
    SentByLast = Host->totalSentData;
    ReceivedByLast = Host->totalReceivedData;
    enet_host_destroy(Host);
    Host = nullptr;
}

void NetTraffic(uint64_t* sent, uint64_t* received) {
    *sent = Host != nullptr ? Host->totalSentData : SentByLast;
    *received = Host != nullptr ? Host->totalReceivedData : ReceivedByLast;
}

std::vector<std::string> NetLocalAddresses() {
    std::vector<std::string> out;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return out;
    for (ifaddrs* at = list; at != nullptr; at = at->ifa_next) {
        if (at->ifa_addr == nullptr || at->ifa_addr->sa_family != AF_INET) continue;
        if ((at->ifa_flags & IFF_LOOPBACK) != 0 || (at->ifa_flags & IFF_UP) == 0) continue;
        char text[INET_ADDRSTRLEN];
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(at->ifa_addr);
        if (inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text) != nullptr) out.push_back(text);
    }
    freeifaddrs(list);
    return out;
}

}  // namespace platform
