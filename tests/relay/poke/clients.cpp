#include "clients.h"

#include <boost/asio/ip/tcp.hpp>
#include <cstdio>

namespace poke {

namespace net = boost::asio;
namespace beast = boost::beast;
using tcp = net::ip::tcp;

namespace {

// The last word before the relay lets go, from a client's Next.
template <class Client>
Outcome EndOf(Client& client, double seconds) {
    Outcome last;
    const auto start = Clock::now();
    while (Since(start) < seconds) {
        Outcome next = client.Next(seconds - Since(start));
        if (next.what == Outcome::Message) {
            if (next.message.kind == OnlineKind::RoomRefuse) last = next;
            continue;
        }
        return next.what == Outcome::Dropped && last.what == Outcome::Message ? last : next;
    }
    return last;
}

Outcome Read(const uint8_t* data, size_t size) {
    Outcome outcome;
    std::string why;
    if (DecodeOnlineMessage(data, size, &outcome.message, &why)) {
        outcome.what = Outcome::Message;
        outcome.bytes.assign(data, data + size);
    }
    return outcome;
}

}  // namespace

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

OnlineMessage Room(RoomWant want, const std::string& code) {
    return RoomAsk(want, code, "relay-poke");
}

OnlineMessage Inputs(uint32_t frame, uint32_t count) {
    OnlineMessage m;
    m.kind = OnlineKind::Inputs;
    m.match = 1;
    m.frame = frame;
    m.stamp = 1;
    m.first = frame;
    m.inputs.assign(count, 1);
    m.checkFirst = frame;
    m.checks.assign(count > 0 ? ONLINE_MAX_CHECKS : 0, 7);
    return m;
}

const char* RefusalName(uint8_t refusal) {
    static const char* const names[ROOM_REFUSAL_LAST + 1] = {
        "?",        "NoSuchRoom", "Full",       "TooManyRooms", "TooManyWatchers",
        "Protocol", "OverLimit",  "NotAllowed", "Idle",         "Closed"};
    return refusal <= ROOM_REFUSAL_LAST ? names[refusal] : "?";
}

void PrintEnd(const Outcome& outcome) {
    if (outcome.what == Outcome::Message && outcome.message.kind == OnlineKind::RoomRefuse) {
        std::printf("refused %s\n", RefusalName(static_cast<uint8_t>(outcome.message.roomRefusal)));
    } else {
        std::puts(outcome.what == Outcome::Dropped ? "dropped" : "kept");
    }
}

EnetClient::~EnetClient() {
    if (host_ != nullptr) enet_host_destroy(host_);
}

bool EnetClient::Connect(uint16_t port) {
    host_ = enet_host_create(nullptr, 1, 2, 0, 0);
    ENetAddress relay{};
    enet_address_set_host_ip(&relay, "127.0.0.1");
    relay.port = port;
    peer_ = host_ != nullptr ? enet_host_connect(host_, &relay, 2, 0) : nullptr;
    ENetEvent event;
    const auto start = Clock::now();
    while (peer_ != nullptr && Since(start) < 5) {
        if (enet_host_service(host_, &event, 10) > 0 && event.type == ENET_EVENT_TYPE_CONNECT)
            return true;
    }
    std::puts("no answer");
    return false;
}

void EnetClient::SendBytes(const Bytes& bytes, bool reliable) {
    ENetPacket* packet =
        enet_packet_create(bytes.data(), bytes.size(),
                           reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    enet_peer_send(peer_, reliable ? 0 : 1, packet);
    enet_host_flush(host_);
}

void EnetClient::Send(const OnlineMessage& message, bool reliable) {
    SendBytes(EncodeOnlineMessage(message), reliable);
}

Outcome EnetClient::Next(double seconds, bool skipWatch) {
    const auto start = Clock::now();
    ENetEvent event;
    while (Since(start) < seconds) {
        if (enet_host_service(host_, &event, 10) <= 0) continue;
        if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
            Outcome dropped;
            dropped.what = Outcome::Dropped;
            return dropped;
        }
        if (event.type != ENET_EVENT_TYPE_RECEIVE) continue;
        Outcome outcome = Read(event.packet->data, event.packet->dataLength);
        enet_packet_destroy(event.packet);
        if (outcome.what == Outcome::Message &&
            !(skipWatch && outcome.message.kind == OnlineKind::Watch))
            return outcome;
    }
    return Outcome{};
}

Outcome EnetClient::End(double seconds) { return EndOf(*this, seconds); }

std::string EnetClient::Host() {
    Send(Room(RoomWant::Host));
    const Outcome is = Next(5);
    return is.what == Outcome::Message && is.message.kind == OnlineKind::RoomIs ? is.message.code
                                                                                : "";
}

WsClient::WsClient() : ws_(io_) {}

// Runs one asynchronous operation for at most `seconds`.
template <class Start>
beast::error_code WsClient::Await(double seconds, Start start) {
    beast::error_code result;
    bool done = false;
    start([&](beast::error_code ec, auto&&...) {
        result = ec;
        done = true;
    });
    io_.restart();
    io_.run_for(
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
    if (done) return result;
    beast::get_lowest_layer(ws_).socket().cancel();
    io_.restart();
    io_.run();
    return net::error::timed_out;
}

bool WsClient::Open(uint16_t port, const std::string& path, const char* address,
                    int receiveBuffer) {
    auto& socket = beast::get_lowest_layer(ws_).socket();
    socket.open(tcp::v4());
    if (address != nullptr) socket.bind({net::ip::make_address(address), 0});
    if (receiveBuffer > 0) socket.set_option(net::socket_base::receive_buffer_size(receiveBuffer));
    beast::error_code ec = Await(5, [&](auto done) {
        beast::get_lowest_layer(ws_).async_connect(
            tcp::endpoint(net::ip::make_address("127.0.0.1"), port), done);
    });
    if (!ec) ec = Await(5, [&](auto done) { ws_.async_handshake("127.0.0.1", path, done); });
    if (ec) {
        std::printf("no answer (%s)\n", ec.message().c_str());
        return false;
    }
    ws_.binary(true);
    ws_.read_message_max(64 * 1024);
    return true;
}

bool WsClient::SendBytes(const Bytes& bytes) {
    return !Await(5, [&](auto done) { ws_.async_write(net::buffer(bytes), done); });
}

bool WsClient::Send(const OnlineMessage& message) {
    return SendBytes(EncodeOnlineMessage(message));
}

Outcome WsClient::Next(double seconds) {
    buffer_.clear();
    const beast::error_code ec = Await(seconds, [&](auto done) { ws_.async_read(buffer_, done); });
    if (ec == net::error::timed_out) return Outcome{};
    if (ec) {
        Outcome dropped;
        dropped.what = Outcome::Dropped;
        return dropped;
    }
    return Read(static_cast<const uint8_t*>(buffer_.data().data()), buffer_.size());
}

Outcome WsClient::End(double seconds) { return EndOf(*this, seconds); }

}  // namespace poke
