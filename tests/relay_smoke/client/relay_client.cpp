// Plays one room through a running relay on loopback, as the games would:
// a host on UDP (ENet), a guest on WebSocket, a watcher on UDP and a third
// player who is turned away. Says "ok" and ends with 0 when every message
// went where it should, unchanged, and the watcher saw the whole match.
//
//   relay_client PORT
#include <enet/enet.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "online/protocol.h"

namespace {

namespace beast = boost::beast;
using Bytes = std::vector<uint8_t>;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "relay_client: %s\n", what.c_str());
    std::exit(1);
}

OnlineMessage Read(const Bytes& bytes) {
    OnlineMessage m;
    std::string why;
    if (!DecodeOnlineMessage(bytes.data(), bytes.size(), &m, &why)) Fail("unreadable: " + why);
    return m;
}

class UdpClient {
public:
    explicit UdpClient(uint16_t port) {
        host_ = enet_host_create(nullptr, 1, 2, 0, 0);
        ENetAddress address{};
        enet_address_set_host_ip(&address, "127.0.0.1");
        address.port = port;
        peer_ = enet_host_connect(host_, &address, 2, 0);
        ENetEvent event{};
        if (host_ == nullptr || peer_ == nullptr || enet_host_service(host_, &event, 3000) <= 0 ||
            event.type != ENET_EVENT_TYPE_CONNECT) {
            Fail("no UDP connection");
        }
    }
    void Send(const Bytes& bytes, bool reliable) {
        enet_peer_send(peer_, reliable ? 0 : 1,
                       enet_packet_create(
                           bytes.data(), bytes.size(),
                           reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED));
        enet_host_flush(host_);
    }
    Bytes Take(const char* what) {
        ENetEvent event{};
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < end) {
            if (enet_host_service(host_, &event, 10) <= 0) continue;
            if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                Bytes bytes(event.packet->data, event.packet->data + event.packet->dataLength);
                enet_packet_destroy(event.packet);
                return bytes;
            }
            if (event.type == ENET_EVENT_TYPE_DISCONNECT)
                Fail(std::string("cut off waiting for ") + what);
        }
        Fail(std::string("no ") + what);
    }
    void Pump() {
        ENetEvent event{};
        while (enet_host_service(host_, &event, 0) > 0) {
            if (event.type == ENET_EVENT_TYPE_RECEIVE) Fail("an unexpected message");
        }
    }

private:
    ENetHost* host_ = nullptr;
    ENetPeer* peer_ = nullptr;
};

class WsClient {
public:
    WsClient(uint16_t port, const std::string& code) : ws_(io_) {
        boost::asio::ip::tcp::resolver resolver(io_);
        boost::asio::connect(ws_.next_layer(), resolver.resolve("127.0.0.1", std::to_string(port)));
        ws_.handshake("127.0.0.1", "/?room=" + code);
        ws_.binary(true);
    }
    void Send(const Bytes& bytes) { ws_.write(boost::asio::buffer(bytes)); }
    Bytes Take() {
        beast::flat_buffer buffer;
        ws_.read(buffer);
        const auto* at = static_cast<const uint8_t*>(buffer.data().data());
        return Bytes(at, at + buffer.size());
    }

private:
    boost::asio::io_context io_;
    beast::websocket::stream<boost::asio::ip::tcp::socket> ws_;
};

OnlineMessage RoomAsk(RoomWant want, const std::string& code) {
    OnlineMessage m;
    m.kind = OnlineKind::Room;
    m.gameVersion = "1.0.0";
    m.want = want;
    m.code = code;
    return m;
}

Bytes InputsFor(uint32_t first, uint32_t count, int side, bool host) {
    OnlineMessage m;
    m.kind = OnlineKind::Inputs;
    m.match = 1;
    m.frame = first;
    m.first = first;
    for (uint32_t f = first; f < first + count; ++f)
        m.inputs.push_back(static_cast<uint8_t>((f + side) % 8));
    if (host) {
        // The checksums from a frame the relay keeps (a multiple of 32), when
        // there is one among these.
        const uint32_t kept = (first + 31) / 32 * 32;
        m.checkFirst = kept < first + count ? kept : first;
        for (uint32_t f = m.checkFirst; f < m.checkFirst + ONLINE_MAX_CHECKS; ++f)
            m.checks.push_back(f * 7 + 1);
    }
    return EncodeOnlineMessage(m);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || enet_initialize() != 0) Fail("usage: relay_client PORT");
    const auto port = static_cast<uint16_t>(std::atoi(argv[1]));

    UdpClient host(port);
    host.Send(EncodeOnlineMessage(RoomAsk(RoomWant::Host, "")), true);
    const OnlineMessage is = Read(host.Take("RoomIs"));
    if (is.kind != OnlineKind::RoomIs || !IsRoomCode(is.code)) Fail("no room for the host");
    const std::string code = is.code;

    WsClient guest(port, code);
    guest.Send(EncodeOnlineMessage(RoomAsk(RoomWant::Join, code)));
    if (Read(guest.Take()).kind != OnlineKind::RoomIs) Fail("the guest was not let in");
    UdpClient third(port);
    third.Send(EncodeOnlineMessage(RoomAsk(RoomWant::Join, code)), true);
    const OnlineMessage full = Read(third.Take("RoomRefuse"));
    if (full.kind != OnlineKind::RoomRefuse || full.roomRefusal != RoomRefusal::Full)
        Fail("a third player was not refused as Full");

    OnlineMessage hello;
    hello.kind = OnlineKind::Hello;
    hello.gameVersion = "1.0.0";
    hello.stamp = 7;
    const Bytes helloBytes = EncodeOnlineMessage(hello);
    guest.Send(helloBytes);
    if (host.Take("Hello") != helloBytes) Fail("the Hello changed on the way");
    OnlineMessage welcome = hello;
    welcome.kind = OnlineKind::Welcome;
    welcome.match = 1;
    welcome.matchSeconds = 1700000000;
    const Bytes welcomeBytes = EncodeOnlineMessage(welcome);
    host.Send(welcomeBytes, true);
    if (guest.Take() != welcomeBytes) Fail("the Welcome changed on the way");

    // 100 frames each side, ten a message; each arrives as it was sent. The
    // watcher comes halfway and still gets the match from its start.
    std::optional<UdpClient> watcher;
    for (uint32_t first = 0; first < 100; first += 10) {
        if (first == 50) {
            watcher.emplace(port);
            watcher->Send(EncodeOnlineMessage(RoomAsk(RoomWant::Watch, code)), true);
            if (Read(watcher->Take("RoomIs")).want != RoomWant::Watch)
                Fail("the watcher was not let in");
        }
        const Bytes fromHost = InputsFor(first, 10, 0, true);
        const Bytes fromGuest = InputsFor(first, 10, 1, false);
        host.Send(fromHost, false);
        guest.Send(fromGuest);
        if (guest.Take() != fromHost) Fail("the host's Inputs changed on the way");
        if (host.Take("Inputs") != fromGuest) Fail("the guest's Inputs changed on the way");
    }
    OnlineMessage leave;
    leave.kind = OnlineKind::Leave;
    leave.reason = LeaveReason::Left;
    host.Send(EncodeOnlineMessage(leave), true);
    if (Read(guest.Take()).kind != OnlineKind::Leave) Fail("the guest did not hear the host leave");

    // The watcher: every frame once, in order, both sides, the checksums of
    // frames 0, 32, 64 and 96, then the Leave.
    uint32_t next = 0;
    std::vector<uint32_t> checked;
    for (;;) {
        const OnlineMessage m = Read(watcher->Take("Watch"));
        if (m.kind == OnlineKind::Leave) break;
        if (m.kind != OnlineKind::Watch || m.first != next ||
            m.matchSeconds != welcome.matchSeconds)
            Fail("a Watch out of order");
        for (size_t i = 0; i < m.inputs.size(); ++i) {
            if (m.inputs[i] != (next + i) % 8 || m.topInputs[i] != (next + i + 1) % 8)
                Fail("a watched input changed");
        }
        for (size_t i = 0; i < m.checks.size(); ++i) {
            if (m.checks[i] != m.checkFrames[i] * 7 + 1) Fail("a watched checksum changed");
            checked.push_back(m.checkFrames[i]);
        }
        next += static_cast<uint32_t>(m.inputs.size());
    }
    if (next != 100 || checked != std::vector<uint32_t>{0, 32, 64, 96})
        Fail("the watcher saw " + std::to_string(next) + " frames and " +
             std::to_string(checked.size()) + " checksums");
    host.Pump();
    std::puts("ok");
    return 0;
}
