// Load for the relay: many rooms of two ENet players on loopback, each
// player sending Inputs at a game's rate, the other timing them through.
//
//   relay_load --relay 127.0.0.1:PORT --rooms N --seconds S [--rate 30]
//              [--ramp SECONDS] [--per-address 32] [--first-address 2]
//
// Each room is made as a game makes one (Room Host, RoomIs, Room Join,
// Hello, Welcome); then both players send one Inputs a frame, unsequenced,
// carrying their frame number in `frame` and the microsecond they were sent
// at in `ack` (the relay passes it on unchanged; sender and receiver share
// this process's clock). The clients are spread over several ENet hosts, each
// bound to its own loopback address with at most --per-address peers, so the
// relay's limit of connections per address holds for them as for anyone.
// Prints one JSON line. Exit status 0 when every room was set up, 3 when some
// were not, 2 when none were, 1 for bad arguments.
#include <enet/enet.h>
#include <poll.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/parse_integer.h"
#include "online/protocol.h"

namespace {

constexpr enet_uint8 ReliableChannel = 0;
constexpr enet_uint8 UnreliableChannel = 1;
constexpr uint64_t BucketUs = 10;
constexpr size_t Buckets = 200000;  // latencies up to 2 s; beyond, the last
constexpr uint64_t HeldGapUs = 1000000;
constexpr uint64_t ServiceEveryUs = 10000;
constexpr size_t PendingConnectsMost = 256;

uint64_t NowUs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Options {
    std::string relayAddress = "127.0.0.1";
    uint16_t port = 0;
    uint32_t rooms = 0;
    double seconds = 0;
    uint32_t rate = 30;
    double ramp = 0;
    uint32_t perAddress = 32;
    uint32_t firstAddress = 2;
};

enum class Stage { Idle, Connecting, Asked, InRoom, Ready, Gone };

struct Client {
    ENetPeer* peer = nullptr;
    size_t host = 0;
    uint32_t room = 0;
    bool isHost = false;
    Stage stage = Stage::Idle;
    uint32_t sent = 0;
    uint32_t received = 0;
    uint64_t lastReceivedUs = 0;
    uint64_t longestGapUs = 0;
    uint64_t nextSendUs = 0;
    bool lostDuringRun = false;
};

struct Load {
    Options options;
    ENetAddress relay{};
    std::vector<ENetHost*> hosts;
    std::vector<uint64_t> lastServiceUs;
    std::vector<char> dirty;
    std::vector<Client> clients;  // room r: host 2r, guest 2r + 1
    std::vector<std::string> codes;
    std::vector<uint32_t> histogram = std::vector<uint32_t>(Buckets, 0);
    uint64_t latencySamples = 0;
    uint64_t latencyMaxUs = 0;
    std::vector<uint32_t> secondMaxUs = std::vector<uint32_t>(3601, 0);  // the worst of each second
    uint64_t epochUs = 0;
    bool running = false;
    uint32_t refusals[ROOM_REFUSAL_LAST + 1] = {};
    uint32_t unreadable = 0;
    uint32_t connectsFailed = 0;
    size_t pendingConnects = 0;
    OnlineMessage message;  // reused by every read
};

void Send(Load& load, Client& client, const OnlineMessage& message, bool reliable) {
    const std::vector<uint8_t> bytes = EncodeOnlineMessage(message);
    ENetPacket* packet =
        enet_packet_create(bytes.data(), bytes.size(),
                           reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (enet_peer_send(client.peer, reliable ? ReliableChannel : UnreliableChannel, packet) != 0) {
        enet_packet_destroy(packet);
        return;
    }
    load.dirty[client.host] = 1;
}

bool Connect(Load& load, Client& client) {
    client.peer = enet_host_connect(load.hosts[client.host], &load.relay, 2, 0);
    if (client.peer == nullptr) return false;
    client.peer->data = &client;
    client.stage = Stage::Connecting;
    ++load.pendingConnects;
    load.dirty[client.host] = 1;
    return true;
}

void Record(Load& load, Client& client, uint64_t now) {
    const OnlineMessage& m = load.message;
    if (client.lastReceivedUs != 0)
        client.longestGapUs = std::max(client.longestGapUs, now - client.lastReceivedUs);
    client.lastReceivedUs = now;
    ++client.received;
    const uint64_t sentAt = load.epochUs + m.ack;
    const uint64_t latency = now > sentAt ? now - sentAt : 0;
    ++load.histogram[std::min<uint64_t>(latency / BucketUs, Buckets - 1)];
    ++load.latencySamples;
    load.latencyMaxUs = std::max(load.latencyMaxUs, latency);
    uint32_t& second = load.secondMaxUs[std::min<uint64_t>(m.ack / 1000000, 3600)];
    second = std::max(second, static_cast<uint32_t>(std::min<uint64_t>(latency, UINT32_MAX)));
}

void OnMessage(Load& load, Client& client, const ENetPacket* packet, uint64_t now) {
    std::string why;
    if (!DecodeOnlineMessage(packet->data, packet->dataLength, &load.message, &why)) {
        ++load.unreadable;
        return;
    }
    const OnlineMessage& m = load.message;
    Client& other = load.clients[client.isHost ? 2 * client.room + 1 : 2 * client.room];
    switch (m.kind) {
        case OnlineKind::RoomIs:
            if (client.isHost && client.stage == Stage::Asked) {
                client.stage = Stage::InRoom;
                load.codes[client.room] = m.code;
                if (!Connect(load, other)) ++load.connectsFailed;
            } else if (!client.isHost && client.stage == Stage::Asked) {
                client.stage = Stage::InRoom;
                OnlineMessage hello;
                hello.kind = OnlineKind::Hello;
                hello.gameVersion = "relay-load";
                hello.stamp = 1;
                Send(load, client, hello, true);
            }
            break;
        case OnlineKind::Hello:
            if (client.isHost && client.stage == Stage::InRoom) {
                OnlineMessage welcome;
                welcome.kind = OnlineKind::Welcome;
                welcome.gameVersion = "relay-load";
                welcome.stamp = 1;
                welcome.match = 1;
                welcome.matchSeconds = 1700000000;
                Send(load, client, welcome, true);
                client.stage = Stage::Ready;
            }
            break;
        case OnlineKind::Welcome:
            if (!client.isHost && client.stage == Stage::InRoom) client.stage = Stage::Ready;
            break;
        case OnlineKind::Inputs:
            if (load.running && client.stage == Stage::Ready) Record(load, client, now);
            break;
        case OnlineKind::RoomRefuse:
            ++load.refusals[static_cast<uint8_t>(m.roomRefusal)];
            break;
        default:
            break;
    }
}

void Drain(Load& load, size_t h, uint64_t now) {
    ENetEvent event;
    while (enet_host_service(load.hosts[h], &event, 0) > 0) {
        Client* client = event.peer != nullptr ? static_cast<Client*>(event.peer->data) : nullptr;
        if (event.type == ENET_EVENT_TYPE_RECEIVE) {
            if (client != nullptr) OnMessage(load, *client, event.packet, NowUs());
            enet_packet_destroy(event.packet);
        } else if (client != nullptr && event.type == ENET_EVENT_TYPE_CONNECT) {
            --load.pendingConnects;
            // ENet drops unsequenced packets when the round trip wavers; the
            // load's own side must not, or its stalls would count as the
            // relay's losses. (Set here only: the relay's side keeps ENet's.)
            event.peer->packetThrottleDeceleration = 0;
            client->stage = Stage::Asked;
            Send(load, *client,
                 RoomAsk(client->isHost ? RoomWant::Host : RoomWant::Join,
                         client->isHost ? "" : load.codes[client->room], "relay-load"),
                 true);
        } else if (client != nullptr && event.type == ENET_EVENT_TYPE_DISCONNECT) {
            if (client->stage == Stage::Connecting) {
                --load.pendingConnects;
                ++load.connectsFailed;
            }
            if (load.running) client->lostDuringRun = true;
            client->stage = Stage::Gone;
            client->peer = nullptr;
            event.peer->data = nullptr;
        }
    }
    load.lastServiceUs[h] = now;
}

// Waits for any host's socket, up to `untilUs`, then serves the hosts that
// have something and those not served for a while (ENet's resends and pings).
void Serve(Load& load, uint64_t untilUs) {
    static std::vector<pollfd> fds;
    fds.resize(load.hosts.size());
    for (size_t h = 0; h < load.hosts.size(); ++h)
        fds[h] = pollfd{load.hosts[h]->socket, POLLIN, 0};
    const uint64_t now = NowUs();
    const int waitMs = untilUs > now ? static_cast<int>((untilUs - now + 999) / 1000) : 0;
    poll(fds.data(), fds.size(), std::min(waitMs, 5));
    const uint64_t after = NowUs();
    for (size_t h = 0; h < load.hosts.size(); ++h) {
        if ((fds[h].revents & POLLIN) != 0 || after - load.lastServiceUs[h] > ServiceEveryUs)
            Drain(load, h, after);
    }
}

void Flush(Load& load) {
    for (size_t h = 0; h < load.hosts.size(); ++h) {
        if (load.dirty[h] != 0) enet_host_flush(load.hosts[h]);
        load.dirty[h] = 0;
    }
}

size_t ReadyRooms(const Load& load) {
    size_t ready = 0;
    for (uint32_t r = 0; r < load.options.rooms; ++r) {
        if (load.clients[2 * r].stage == Stage::Ready &&
            load.clients[2 * r + 1].stage == Stage::Ready)
            ++ready;
    }
    return ready;
}

// Hosts connect (spread over the ramp, a few hundred at a time); each guest
// connects when its host has its code.
size_t SetUp(Load& load) {
    const uint64_t start = NowUs();
    const uint64_t deadline =
        start + static_cast<uint64_t>((load.options.ramp + 10 + load.options.rooms / 100.0) * 1e6);
    uint32_t nextRoom = 0;
    while (NowUs() < deadline) {
        const uint64_t now = NowUs();
        const double share = load.options.ramp > 0 ? (now - start) / (load.options.ramp * 1e6) : 1;
        const uint32_t due = static_cast<uint32_t>(std::min(1.0, share) * load.options.rooms);
        while (nextRoom < due && load.pendingConnects < PendingConnectsMost) {
            if (!Connect(load, load.clients[2 * nextRoom])) ++load.connectsFailed;
            ++nextRoom;
        }
        Flush(load);
        Serve(load, now + 1000);
        Flush(load);
        if (nextRoom == load.options.rooms && ReadyRooms(load) == load.options.rooms) break;
        if (nextRoom == load.options.rooms && load.pendingConnects == 0) {
            bool waiting = false;
            for (const Client& c : load.clients) {
                waiting = waiting || c.stage == Stage::Asked || c.stage == Stage::Connecting ||
                          (c.stage == Stage::InRoom);
            }
            if (!waiting) break;
        }
    }
    return ReadyRooms(load);
}

void SendInputs(Load& load, Client& client, uint64_t now) {
    // A game's Inputs: this frame and the two before it, and one checksum.
    OnlineMessage& m = load.message;
    m = OnlineMessage{};
    m.kind = OnlineKind::Inputs;
    m.match = 1;
    m.frame = client.sent;
    m.ack = static_cast<uint32_t>(now - load.epochUs);
    m.stamp = static_cast<uint16_t>(1 + (now / 1000) % 60000);
    m.first = client.sent >= 2 ? client.sent - 2 : 0;
    m.inputs.assign(client.sent - m.first + 1, client.isHost ? 1 : 2);
    m.checkFirst = client.sent;
    m.checks.assign(1, 0x5A5A0000u + client.sent);
    ++client.sent;
    Send(load, client, m, false);
}

void Run(Load& load) {
    const uint64_t periodUs = 1000000 / load.options.rate;
    const uint64_t start = NowUs();
    load.epochUs = start;
    for (size_t i = 0; i < load.clients.size(); ++i)
        load.clients[i].nextSendUs = start + periodUs * i / load.clients.size();
    load.running = true;
    const uint64_t end = start + static_cast<uint64_t>(load.options.seconds * 1e6);
    // The clients' turns are evenly spread and all of one period, so they
    // come round in index order: one cursor instead of a search.
    size_t cursor = 0;
    uint64_t now = start;
    while (now < end) {
        while (load.clients[cursor].nextSendUs <= now) {
            Client& c = load.clients[cursor];
            if (c.stage == Stage::Ready) SendInputs(load, c, now);
            c.nextSendUs += periodUs;
            cursor = (cursor + 1) % load.clients.size();
        }
        Flush(load);
        Serve(load, std::min(end, load.clients[cursor].nextSendUs));
        now = NowUs();
    }
    // What is still on its way.
    const uint64_t drained = NowUs() + 500000;
    while (NowUs() < drained) Serve(load, drained);
    load.running = false;
}

double Percentile(const Load& load, double share) {
    if (load.latencySamples == 0) return 0;
    const uint64_t wanted = static_cast<uint64_t>(share * load.latencySamples);
    uint64_t seen = 0;
    for (size_t b = 0; b < Buckets; ++b) {
        seen += load.histogram[b];
        if (seen > wanted) return (b + 1) * BucketUs / 1000.0;
    }
    return load.latencyMaxUs / 1000.0;
}

void Report(const Load& load, size_t setUp, double cpuShare, double runSeconds) {
    uint64_t sent = 0, received = 0;
    size_t held = 0;
    for (uint32_t r = 0; r < load.options.rooms; ++r) {
        const Client& h = load.clients[2 * r];
        const Client& g = load.clients[2 * r + 1];
        sent += h.sent + g.sent;
        received += h.received + g.received;
        const bool through = h.stage == Stage::Ready && g.stage == Stage::Ready && h.received > 0 &&
                             g.received > 0 && h.longestGapUs < HeldGapUs &&
                             g.longestGapUs < HeldGapUs && !h.lostDuringRun && !g.lostDuringRun;
        if (through) ++held;
    }
    std::printf(
        "{\"rooms\":%u,\"rooms_set_up\":%zu,\"rooms_held\":%zu,\"clients_per_address\":%u,"
        "\"addresses\":%zu,\"seconds\":%.2f,\"rate\":%u,\"sent\":%llu,\"received\":%llu,"
        "\"lost\":%lld,\"latency_ms\":{\"p50\":%.3f,\"p99\":%.3f,\"max\":%.3f},"
        "\"load_cpu_percent\":%.1f,\"connects_failed\":%u,\"unreadable\":%u,\"refusals\":{",
        load.options.rooms, setUp, held, load.options.perAddress, load.hosts.size(), runSeconds,
        load.options.rate, static_cast<unsigned long long>(sent),
        static_cast<unsigned long long>(received),
        static_cast<long long>(sent) - static_cast<long long>(received), Percentile(load, 0.5),
        Percentile(load, 0.99), load.latencyMaxUs / 1000.0, cpuShare * 100, load.connectsFailed,
        load.unreadable);
    bool first = true;
    for (uint8_t reason = 1; reason <= ROOM_REFUSAL_LAST; ++reason) {
        if (load.refusals[reason] == 0) continue;
        std::printf("%s\"%u\":%u", first ? "" : ",", reason, load.refusals[reason]);
        first = false;
    }
    // The worst latency of each second, for telling which moment was slow.
    std::printf("},\"worst_ms_each_second\":[");
    const size_t seconds = std::min<size_t>(static_cast<size_t>(runSeconds) + 1, 3601);
    for (size_t i = 0; i < seconds; ++i)
        std::printf("%s%.1f", i == 0 ? "" : ",", load.secondMaxUs[i] / 1000.0);
    std::printf("]}\n");
    std::fflush(stdout);
}

bool ParseOptions(int argc, char** argv, Options* o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        int64_t number = 0;
        const bool integer = ParseInteger(value, 0, 1000000, &number);
        if (name == "--relay") {
            const size_t colon = value.rfind(':');
            if (colon == std::string::npos) return false;
            o->relayAddress = value.substr(0, colon);
            if (!ParseInteger(value.substr(colon + 1), 1, 65535, &number)) return false;
            o->port = static_cast<uint16_t>(number);
        } else if (name == "--seconds" || name == "--ramp") {
            char* end = nullptr;
            const double seconds = std::strtod(value.c_str(), &end);
            if (*end != '\0' || !(seconds >= 0 && seconds <= 3600)) return false;
            (name == "--seconds" ? o->seconds : o->ramp) = seconds;
        } else if (integer && name == "--rooms") {
            o->rooms = static_cast<uint32_t>(number);
        } else if (integer && name == "--rate" && number > 0 && number <= 1000) {
            o->rate = static_cast<uint32_t>(number);
        } else if (integer && name == "--per-address" && number > 0 && number <= 4095) {
            o->perAddress = static_cast<uint32_t>(number);
        } else if (integer && name == "--first-address" && number > 0 && number < 250) {
            o->firstAddress = static_cast<uint32_t>(number);
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && o->port != 0 && o->rooms > 0 && o->seconds > 0;
}

}  // namespace

int main(int argc, char** argv) {
    Load load;
    if (!ParseOptions(argc, argv, &load.options)) {
        std::fputs(
            "usage: relay_load --relay ADDRESS:PORT --rooms N --seconds S [--rate 30] "
            "[--ramp SECONDS] [--per-address 32] [--first-address 2]\n",
            stderr);
        return 1;
    }
    if (enet_initialize() != 0 ||
        enet_address_set_host_ip(&load.relay, load.options.relayAddress.c_str()) != 0) {
        std::fputs("relay_load: cannot start ENet or read the relay's address\n", stderr);
        return 2;
    }
    load.relay.port = load.options.port;
    const uint32_t clients = 2 * load.options.rooms;
    const uint32_t perHost = load.options.perAddress;
    const size_t hostCount = (clients + perHost - 1) / perHost;
    for (size_t h = 0; h < hostCount; ++h) {
        // 127.0.0.2, 127.0.0.3, ..., then 127.0.1.2, ...: one address each.
        const size_t index = load.options.firstAddress + h;
        const std::string ip = "127.0." + std::to_string(index / 250) + "." +
                               std::to_string(index % 250 + (index / 250 > 0 ? 2 : 0));
        ENetAddress local{};
        enet_address_set_host_ip(&local, ip.c_str());
        local.port = 0;
        ENetHost* host = enet_host_create(&local, perHost, 2, 0, 0);
        if (host == nullptr) {
            std::fprintf(stderr, "relay_load: cannot open a client host on %s\n", ip.c_str());
            return 2;
        }
        load.hosts.push_back(host);
    }
    load.lastServiceUs.assign(hostCount, 0);
    load.dirty.assign(hostCount, 0);
    load.clients.resize(clients);
    load.codes.resize(load.options.rooms);
    for (uint32_t i = 0; i < clients; ++i) {
        load.clients[i].host = i / perHost;
        load.clients[i].room = i / 2;
        load.clients[i].isHost = i % 2 == 0;
    }

    const size_t setUp = SetUp(load);
    if (setUp == 0) {
        Report(load, 0, 0, 0);
        return 2;
    }
    // The bench times the relay from this line to the summary.
    std::fprintf(stderr, "relay_load: %zu rooms set up, running\n", setUp);
    std::fflush(stderr);
    const double cpuBefore = CpuSeconds();
    const uint64_t before = NowUs();
    Run(load);
    const double runSeconds = (NowUs() - before) / 1e6;
    const double cpuShare = (CpuSeconds() - cpuBefore) / runSeconds;
    Report(load, setUp, cpuShare, runSeconds);

    for (Client& c : load.clients) {
        if (c.peer != nullptr) enet_peer_disconnect(c.peer, 0);
    }
    for (ENetHost* host : load.hosts) enet_host_flush(host);
    const uint64_t closing = NowUs() + 300000;
    while (NowUs() < closing) Serve(load, closing);
    for (ENetHost* host : load.hosts) enet_host_destroy(host);
    enet_deinitialize();
    return setUp == load.options.rooms ? 0 : 3;
}
