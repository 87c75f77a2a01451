// A hostile, odd or honest client of the relay, over ENet (as games come) or
// WebSocket (as browsers come), on loopback. Each mode prints one line saying
// what the relay did, for tests/relay/hostile.py, routing.py and smoke.py to
// judge: "refused REASON", "dropped" (disconnected with no refusal), "kept"
// (still connected when the poke gave up), or a mode's own counts.
//
//   relay_poke play PORT                 one room played through as games
//                                        play it (play.cpp); prints "ok"
//   relay_poke garbage PORT              random bytes over ENet
//   relay_poke oversize PORT BYTES       one message of BYTES over ENet
//   relay_poke protocol PORT             a Room of another protocol
//   relay_poke nosuch PORT               join a room that does not exist
//   relay_poke watcher-inputs PORT       watch a room, then send inputs
//   relay_poke silent PORT SECONDS       connect and never speak
//   relay_poke fast PORT RATE SECONDS    host, then send RATE inputs a second
//   relay_poke many PORT ADDRESS COUNT   COUNT ENet connections from ADDRESS,
//                                        each asking for a room
//   relay_poke ws-garbage PORT           random bytes in a WebSocket frame
//   relay_poke ws-oversize PORT BYTES    one WebSocket frame of BYTES
//   relay_poke ws-many PORT ADDRESS COUNT  as `many`, over WebSocket
//   relay_poke ws-slow PORT SECONDS RATE a WebSocket guest that never reads
//                                        while its ENet host sends RATE of
//                                        the largest Inputs a second
//   relay_poke ws-headers PORT BYTES     an HTTP request with BYTES of header
//   relay_poke ws-host PORT PATH SECONDS host a room through PATH, print
//                                        "room CODE", hold it for SECONDS
//   relay_poke ws-join PORT CODE         join CODE through /?room=CODE
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/http.hpp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#include "clients.h"
#include "play.h"

namespace {

using namespace poke;
namespace net = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = net::ip::tcp;

Bytes RandomBytes(std::mt19937& random, size_t size) {
    Bytes bytes(size);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    // Never a Room by chance: these are meant to be unreadable.
    if (!bytes.empty() && bytes[0] == static_cast<uint8_t>(OnlineKind::Room)) bytes[0] = 0xEE;
    return bytes;
}

int Garbage(uint16_t port) {
    EnetClient client;
    if (!client.Connect(port)) return 1;
    std::mt19937 random(11);
    for (int i = 0; i < 20; ++i) client.SendBytes(RandomBytes(random, 1 + random() % 300), true);
    PrintEnd(client.End(5));
    return 0;
}

int Oversize(uint16_t port, size_t size) {
    EnetClient client;
    if (!client.Connect(port)) return 1;
    // A Room that reads well up to its end, with far too much after it.
    Bytes bytes = EncodeOnlineMessage(Room(RoomWant::Host));
    bytes.resize(size, 'x');
    client.SendBytes(bytes, true);
    PrintEnd(client.End(5));
    return 0;
}

int Protocol(uint16_t port) {
    EnetClient client;
    if (!client.Connect(port)) return 1;
    OnlineMessage room = Room(RoomWant::Host);
    room.protocol = ONLINE_PROTOCOL + 1;
    client.Send(room);
    PrintEnd(client.End(5));
    return 0;
}

int NoSuchRoom(uint16_t port) {
    EnetClient client;
    if (!client.Connect(port)) return 1;
    client.Send(Room(RoomWant::Join, "ACDEF"));
    PrintEnd(client.End(5));
    return 0;
}

int WatcherInputs(uint16_t port) {
    EnetClient host, watcher;
    if (!host.Connect(port) || !watcher.Connect(port)) return 1;
    const std::string code = host.Host();
    watcher.Send(Room(RoomWant::Watch, code));
    Outcome is = watcher.Next(5);
    if (code.empty() || is.what != Outcome::Message || is.message.kind != OnlineKind::RoomIs) {
        std::puts("not watching");
        return 1;
    }
    watcher.Send(Inputs(0, 3), false);
    watcher.Send(Inputs(1, 3), true);
    std::printf("watching; ");
    PrintEnd(watcher.End(5));
    return 0;
}

int Silent(uint16_t port, double seconds) {
    EnetClient client;
    if (!client.Connect(port)) return 1;
    const auto start = Clock::now();
    const Outcome end = client.End(seconds);
    std::printf("after %.1f s: ", Since(start));
    PrintEnd(end);
    return 0;
}

int Fast(uint16_t port, int rate, double seconds) {
    EnetClient client;
    if (!client.Connect(port)) return 1;
    if (client.Host().empty()) {
        std::puts("no room");
        return 1;
    }
    const auto start = Clock::now();
    uint32_t sent = 0;
    while (Since(start) < seconds) {
        for (; sent < static_cast<uint32_t>(Since(start) * rate); ++sent)
            client.Send(Inputs(sent, 1), false);
        const Outcome next = client.Next(0.001);
        const bool refused =
            next.what == Outcome::Message && next.message.kind == OnlineKind::RoomRefuse;
        if (refused || next.what == Outcome::Dropped) {
            std::printf("after %u messages: ", sent);
            PrintEnd(next);
            return 0;
        }
    }
    std::printf("after %u messages: kept\n", sent);
    return 0;
}

// Counts of what many connections from one address were told.
struct Tally {
    int rooms = 0;
    int refused[ROOM_REFUSAL_LAST + 1] = {};
    int dropped = 0;
    int silent = 0;

    void Print() const {
        std::printf("rooms %d dropped %d silent %d refused", rooms, dropped, silent);
        for (int r = 1; r <= ROOM_REFUSAL_LAST; ++r) {
            if (refused[r] != 0)
                std::printf(" %s %d", RefusalName(static_cast<uint8_t>(r)), refused[r]);
        }
        std::puts("");
    }
};

int Many(uint16_t port, const char* address, int count) {
    ENetAddress local{}, relay{};
    enet_address_set_host_ip(&local, address);
    enet_address_set_host_ip(&relay, "127.0.0.1");
    relay.port = port;
    ENetHost* host = enet_host_create(&local, static_cast<size_t>(count), 2, 0, 0);
    if (host == nullptr) return 1;
    // 0 nothing yet, 1 connected, 2 answered, 3 dropped.
    std::vector<int> state(static_cast<size_t>(count), 0);
    for (int i = 0; i < count; ++i) {
        ENetPeer* peer = enet_host_connect(host, &relay, 2, 0);
        if (peer != nullptr) peer->data = &state[static_cast<size_t>(i)];
    }
    Tally tally;
    const Bytes room = EncodeOnlineMessage(Room(RoomWant::Host));
    const auto start = Clock::now();
    ENetEvent event;
    while (Since(start) < 6) {
        if (enet_host_service(host, &event, 5) <= 0) continue;
        int* seen = event.peer != nullptr ? static_cast<int*>(event.peer->data) : nullptr;
        if (seen == nullptr) continue;
        if (event.type == ENET_EVENT_TYPE_CONNECT) {
            *seen = 1;
            enet_peer_send(event.peer, 0,
                           enet_packet_create(room.data(), room.size(), ENET_PACKET_FLAG_RELIABLE));
        } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
            OnlineMessage m;
            std::string why;
            if (*seen != 2 &&
                DecodeOnlineMessage(event.packet->data, event.packet->dataLength, &m, &why)) {
                if (m.kind == OnlineKind::RoomIs) ++tally.rooms;
                if (m.kind == OnlineKind::RoomRefuse)
                    ++tally.refused[static_cast<int>(m.roomRefusal)];
                *seen = 2;
            }
            enet_packet_destroy(event.packet);
        } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
            if (*seen != 2) ++tally.dropped;
            if (*seen != 2) *seen = 3;
        }
    }
    for (int s : state) tally.silent += s == 0 || s == 1 ? 1 : 0;
    tally.Print();
    enet_host_destroy(host);
    return 0;
}

int WsGarbage(uint16_t port) {
    WsClient client;
    if (!client.Open(port, "/")) return 1;
    std::mt19937 random(13);
    client.SendBytes(RandomBytes(random, 100));
    PrintEnd(client.End(5));
    return 0;
}

int WsOversize(uint16_t port, size_t size) {
    WsClient client;
    if (!client.Open(port, "/")) return 1;
    Bytes bytes = EncodeOnlineMessage(Room(RoomWant::Host));
    bytes.resize(size, 'x');
    client.SendBytes(bytes);
    PrintEnd(client.End(5));
    return 0;
}

// Many WebSocket connections at once, each asking for a room.
struct WsAttempt : std::enable_shared_from_this<WsAttempt> {
    websocket::stream<beast::tcp_stream> ws;
    beast::flat_buffer buffer;
    Bytes room = EncodeOnlineMessage(Room(RoomWant::Host));
    int state = 0;  // 0 nothing yet, 1 answered, 2 dropped
    OnlineMessage answer;

    explicit WsAttempt(net::io_context& io) : ws(io) {}

    void Start(const char* address, uint16_t port) {
        auto self = shared_from_this();
        beast::error_code ec;
        ws.next_layer().socket().open(tcp::v4(), ec);
        if (!ec) ws.next_layer().socket().bind({net::ip::make_address(address), 0}, ec);
        if (ec) {
            state = 2;
            return;
        }
        ws.next_layer().async_connect(
            tcp::endpoint(net::ip::make_address("127.0.0.1"), port), [self](beast::error_code e) {
                if (e) return void(self->state = 2);
                self->ws.async_handshake("127.0.0.1", "/", [self](beast::error_code e2) {
                    if (e2) return void(self->state = 2);
                    self->ws.binary(true);
                    self->ws.async_write(
                        net::buffer(self->room), [self](beast::error_code e3, size_t) {
                            if (e3) return void(self->state = 2);
                            self->ws.async_read(self->buffer, [self](beast::error_code e4, size_t) {
                                std::string why;
                                const auto data =
                                    static_cast<const uint8_t*>(self->buffer.data().data());
                                self->state = !e4 && DecodeOnlineMessage(data, self->buffer.size(),
                                                                         &self->answer, &why)
                                                  ? 1
                                                  : 2;
                            });
                        });
                });
            });
    }
};

int WsMany(uint16_t port, const char* address, int count) {
    net::io_context io;
    std::vector<std::shared_ptr<WsAttempt>> attempts;
    for (int i = 0; i < count; ++i) {
        attempts.push_back(std::make_shared<WsAttempt>(io));
        attempts.back()->Start(address, port);
    }
    io.run_for(std::chrono::seconds(6));
    Tally tally;
    for (const auto& a : attempts) {
        if (a->state == 0) ++tally.silent;
        if (a->state == 2) ++tally.dropped;
        if (a->state == 1 && a->answer.kind == OnlineKind::RoomIs) ++tally.rooms;
        if (a->state == 1 && a->answer.kind == OnlineKind::RoomRefuse)
            ++tally.refused[static_cast<int>(a->answer.roomRefusal)];
    }
    tally.Print();
    return 0;
}

// A guest that stops reading while its host sends as much as a player may:
// the relay must let it go rather than keep queueing for it.
int WsSlow(uint16_t port, double seconds, int rate) {
    EnetClient host;
    WsClient guest;
    if (!host.Connect(port) || !guest.Open(port, "/", nullptr, 4096)) return 1;
    const std::string code = host.Host();
    guest.Send(Room(RoomWant::Join, code));
    const Outcome joined = guest.Next(5);
    if (joined.what != Outcome::Message || joined.message.kind != OnlineKind::RoomIs) {
        std::puts("could not join");
        return 1;
    }
    const OnlineMessage largest = Inputs(0, ONLINE_MAX_INPUTS);
    const auto start = Clock::now();
    uint32_t sent = 0;
    size_t bytes = 0;
    while (Since(start) < seconds) {
        for (; sent < static_cast<uint32_t>(Since(start) * rate); ++sent) {
            host.Send(largest, false);
            bytes += EncodeOnlineMessage(largest).size();
        }
        const Outcome next = host.Next(0.005);
        if (next.what == Outcome::Message && next.message.kind == OnlineKind::Leave) {
            std::printf("guest let go after %.1f s, %zu bytes sent\n", Since(start), bytes);
            return 0;
        }
        if (next.what == Outcome::Dropped) {
            std::puts("host dropped");
            return 0;
        }
    }
    std::printf("kept after %zu bytes\n", bytes);
    return 0;
}

int WsHeaders(uint16_t port, size_t size) {
    net::io_context io;
    beast::tcp_stream stream(io);
    beast::error_code ec;
    stream.connect(tcp::endpoint(net::ip::make_address("127.0.0.1"), port), ec);
    if (ec) {
        std::puts("no answer");
        return 1;
    }
    beast::http::request<beast::http::empty_body> request(beast::http::verb::get, "/status", 11);
    request.set(beast::http::field::host, "127.0.0.1");
    request.set("X-Filler", std::string(size, 'a'));
    stream.expires_after(std::chrono::seconds(5));
    beast::http::async_write(stream, request, [&](beast::error_code e, size_t) { ec = e; });
    io.run_for(std::chrono::seconds(5));
    beast::flat_buffer buffer;
    beast::http::response_parser<beast::http::string_body> parser;
    parser.body_limit(64 * 1024);
    io.restart();
    beast::error_code readError = net::error::timed_out;
    stream.expires_after(std::chrono::seconds(5));
    beast::http::async_read(stream, buffer, parser,
                            [&](beast::error_code e, size_t) { readError = e; });
    io.run_for(std::chrono::seconds(6));
    if (!readError) {
        std::printf("status %u\n", parser.get().result_int());
    } else {
        std::printf("closed (%s)\n", readError.message().c_str());
    }
    return 0;
}

int WsHost(uint16_t port, const std::string& path, double seconds) {
    WsClient client;
    if (!client.Open(port, path)) return 1;
    client.Send(Room(RoomWant::Host));
    const Outcome is = client.Next(5);
    if (is.what != Outcome::Message || is.message.kind != OnlineKind::RoomIs) {
        PrintEnd(is);
        return 1;
    }
    std::printf("room %s\n", is.message.code.c_str());
    std::fflush(stdout);
    client.End(seconds);
    return 0;
}

int WsJoin(uint16_t port, const std::string& code) {
    WsClient client;
    if (!client.Open(port, "/?room=" + code)) return 1;
    client.Send(Room(RoomWant::Join, code));
    const Outcome is = client.Next(5);
    if (is.what == Outcome::Message && is.message.kind == OnlineKind::RoomIs) {
        std::printf("joined %s\n", is.message.code.c_str());
    } else {
        PrintEnd(is);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    const uint16_t port = argc > 2 ? static_cast<uint16_t>(std::atoi(argv[2])) : 0;
    if (enet_initialize() != 0) return 1;
    const auto number = [&](int i) { return std::atof(argv[i]); };
    if (mode == "play" && argc == 3) return Play(port);
    if (mode == "garbage" && argc == 3) return Garbage(port);
    if (mode == "oversize" && argc == 4) return Oversize(port, static_cast<size_t>(number(3)));
    if (mode == "protocol" && argc == 3) return Protocol(port);
    if (mode == "nosuch" && argc == 3) return NoSuchRoom(port);
    if (mode == "watcher-inputs" && argc == 3) return WatcherInputs(port);
    if (mode == "silent" && argc == 4) return Silent(port, number(3));
    if (mode == "fast" && argc == 5) return Fast(port, std::atoi(argv[3]), number(4));
    if (mode == "many" && argc == 5) return Many(port, argv[3], std::atoi(argv[4]));
    if (mode == "ws-garbage" && argc == 3) return WsGarbage(port);
    if (mode == "ws-oversize" && argc == 4) return WsOversize(port, static_cast<size_t>(number(3)));
    if (mode == "ws-many" && argc == 5) return WsMany(port, argv[3], std::atoi(argv[4]));
    if (mode == "ws-slow" && argc == 5) return WsSlow(port, number(3), std::atoi(argv[4]));
    if (mode == "ws-headers" && argc == 4) return WsHeaders(port, static_cast<size_t>(number(3)));
    if (mode == "ws-host" && argc == 5) return WsHost(port, argv[3], number(4));
    if (mode == "ws-join" && argc == 4) return WsJoin(port, argv[3]);
    std::fputs("usage: relay_poke MODE PORT ... (see the top of relay_poke.cpp)\n", stderr);
    return 2;
}
