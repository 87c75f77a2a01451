// The network link of the native game: ENet over UDP. ENet keeps the
// connections, resends what is sent reliably and checks what arrives; the
// game sees whole messages, each stamped with when it came in. While a link
// is open the backends' waits are spent here (net_wait), so messages are
// taken as they arrive, not when the game next looks.
//
// Debian's ENet speaks IPv4 only, so the host listens on IPv4 and an IPv6
// address is refused with a reason.
#include <enet/enet.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <thread>
#include <vector>

#include "common/os.h"
#include "platform/common/net_limits.h"
#include "platform/common/net_wait.h"
#include "platform/platform.h"

namespace platform {

namespace {

// ENet drops anything larger than the largest message before it is put
// together, and bounds what a peer may keep it holding.
using net_limits::LargestMessage;
using net_limits::MostQueued;
constexpr size_t MostWaitingBytes = 64 * 1024;
constexpr enet_uint8 ReliableChannel = 0;
constexpr enet_uint8 UnreliableChannel = 1;

struct Taken {
    NetEventKind kind;
    uint32_t peer;
    uint64_t arrived;  // NowUs
    std::vector<uint8_t> bytes;
};

// A message the impairment holds back until it is due.
struct Held {
    uint64_t due;  // NowUs
    uint32_t peer;
    bool reliable;
    std::vector<uint8_t> bytes;
};

struct Impairment {
    uint32_t delayMs = 0;
    uint32_t jitterMs = 0;
    uint32_t lossPercent = 0;
    uint32_t state = 1;
};

ENetHost* Host = nullptr;
uint32_t NextPeerId = 1;
std::deque<Taken> Queue;
std::vector<uint8_t> Received;  // the bytes of the last message NetPoll gave
std::deque<Held> Late;
Impairment Impair;
uint64_t SentByLast = 0;  // the last link's traffic, once it is closed
uint64_t ReceivedByLast = 0;

// The link keeps its own steady clock: the headless backend's PreciseTime
// is virtual and moves only when the game looks at it.
uint64_t NowUs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

bool Started() {
    static bool started = enet_initialize() == 0;
    return started;
}

// xorshift32: the impairment's own numbers, never the game's.
uint32_t NextImpairNumber() {
    uint32_t& x = Impair.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return x;
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

void SendNow(uint32_t peer, const uint8_t* bytes, size_t size, bool reliable) {
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

void SendDue() {
    const uint64_t now = NowUs();
    while (!Late.empty() && Late.front().due <= now) {
        const Held& next = Late.front();
        SendNow(next.peer, next.bytes.data(), next.bytes.size(), next.reliable);
        Late.pop_front();
    }
}

// Takes one event from ENet, waiting up to `timeoutMs`, into the queue.
bool Take(uint32_t timeoutMs) {
    ENetEvent got{};
    if (enet_host_service(Host, &got, timeoutMs) <= 0) return false;
    Taken taken{NetEventKind::Message, IdOf(got.peer), NowUs(), {}};
    switch (got.type) {
        case ENET_EVENT_TYPE_CONNECT:
            taken.kind = NetEventKind::Connected;
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            taken.kind = NetEventKind::Disconnected;
            got.peer->data = nullptr;
            break;
        case ENET_EVENT_TYPE_RECEIVE:
            taken.bytes.assign(got.packet->data, got.packet->data + got.packet->dataLength);
            enet_packet_destroy(got.packet);
            break;
        case ENET_EVENT_TYPE_NONE:
            return false;
    }
    if (Queue.size() < MostQueued || taken.kind != NetEventKind::Message) {
        Queue.push_back(std::move(taken));
    }
    return true;
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

}  // namespace

bool net_wait::SleepFor(uint64_t us) {
    if (Host == nullptr) return false;
    const uint64_t time = NowUs() + us;
    for (;;) {
        SendDue();
        const uint64_t now = NowUs();
        if (now >= time) return true;
        uint64_t until = time;
        if (!Late.empty()) until = std::min(until, Late.front().due);
        // Whole milliseconds in ENet's wait; what is left, on the clock.
        const uint64_t ms = until > now ? (until - now) / 1000 : 0;
        if (ms > 0) {
            Take(static_cast<uint32_t>(ms));
        } else {
            std::this_thread::sleep_until(
                std::chrono::steady_clock::time_point(std::chrono::microseconds(until)));
        }
    }
}

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
    if (os::IsIpv6Address(host)) {
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
    SendDue();
    if (Queue.empty()) Take(0);
    if (Queue.empty()) return false;
    Taken& next = Queue.front();
    Received = std::move(next.bytes);
    const uint64_t waited = (NowUs() - next.arrived) / 1000;
    *event = {next.kind, next.peer, Received.data(), Received.size(),
              static_cast<uint32_t>(std::min<uint64_t>(waited, UINT32_MAX))};
    Queue.pop_front();
    return true;
}

void NetSend(uint32_t peer, const uint8_t* bytes, size_t size, bool reliable) {
    if (Impair.delayMs == 0 && Impair.jitterMs == 0 && Impair.lossPercent == 0) {
        SendNow(peer, bytes, size, reliable);
        return;
    }
    if (!reliable && NextImpairNumber() % 100 < Impair.lossPercent) return;
    int64_t late = Impair.delayMs;
    if (Impair.jitterMs > 0) {
        late +=
            static_cast<int64_t>(NextImpairNumber() % (2 * Impair.jitterMs + 1)) - Impair.jitterMs;
    }
    const uint64_t due = NowUs() + static_cast<uint64_t>(std::max<int64_t>(late, 0)) * 1000;
    // In due order; a jittered message may pass an earlier one, as on a real
    // network, but the reliable ones keep their order.
    auto at = Late.end();
    while (at != Late.begin() && std::prev(at)->due > due &&
           !(reliable && std::prev(at)->reliable)) {
        --at;
    }
    Late.insert(at, Held{due, peer, reliable, std::vector<uint8_t>(bytes, bytes + size)});
    SendDue();
}

void NetImpair(uint32_t delayMs, uint32_t jitterMs, uint32_t lossPercent, uint32_t seed) {
    Impair = {delayMs, jitterMs, std::min<uint32_t>(lossPercent, 100), seed != 0 ? seed : 1};
}

void NetDisconnect(uint32_t peer) {
    ENetPeer* to = FindPeer(peer);
    if (to != nullptr) enet_peer_disconnect_later(to, 0);
    if (Host != nullptr) enet_host_flush(Host);
}

void NetClose() {
    if (Host == nullptr) return;
    // What the impairment holds, and a goodbye, get their one chance to leave.
    for (const Held& held : Late)
        SendNow(held.peer, held.bytes.data(), held.bytes.size(), held.reliable);
    Late.clear();
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
    Queue.clear();
}

void NetTraffic(uint64_t* sent, uint64_t* received) {
    *sent = Host != nullptr ? Host->totalSentData : SentByLast;
    *received = Host != nullptr ? Host->totalReceivedData : ReceivedByLast;
}

std::vector<std::string> NetLocalAddresses() { return os::LocalIpv4Addresses(); }

}  // namespace platform
