#include "udp_side.h"

#include <sys/ioctl.h>

#include <boost/asio/post.hpp>
#include <chrono>

#include "clock.h"

namespace relay {

namespace {

// ENet's own bounds, as the game's link has them: nothing larger is put
// together, and a peer cannot make it hold more than this for it.
constexpr size_t LargestPacket = 1024;
constexpr size_t MostWaitingBytes = 64 * 1024;
constexpr size_t MostEnetPeers = 4095;
constexpr enet_uint8 ReliableChannel = 0;
constexpr enet_uint8 UnreliableChannel = 1;
// A busy second brings bursts: room for them before the kernel drops.
constexpr int SocketBuffer = 4 << 20;
constexpr auto ServiceEvery = std::chrono::milliseconds(10);
// Each service walks all of ENet's peers a few times, so datagrams that
// come close together are taken together: at most one batch this often.
constexpr auto BatchEvery = std::chrono::microseconds(1000);
// Events in one batch, so the timers and the other side get their turn.
constexpr int MostEventsInBatch = 8192;

UdpSide* Self = nullptr;  // for ENet's packet callback, which has no context

PeerId IdOf(const ENetPeer* peer) {
    return static_cast<PeerId>(reinterpret_cast<uintptr_t>(peer->data));
}

}  // namespace

UdpSide::UdpSide(boost::asio::io_context& io, Relay& relay)
    : io_(io), relay_(relay), socket_(io), timer_(io), batch_(io) {
    Self = this;
}

UdpSide::~UdpSide() {
    Close();
    Self = nullptr;
}

bool UdpSide::Open(const std::string& bind, uint16_t port, std::string* why) {
    if (enet_initialize() != 0) {
        *why = "ENet cannot start";
        return false;
    }
    ENetAddress address{};
    if (enet_address_set_host_ip(&address, bind.c_str()) != 0) {
        *why = "'" + bind + "' is not an IPv4 address";
        return false;
    }
    address.port = port;
    const size_t peers = std::min<size_t>(relay_.limits().max_peers, MostEnetPeers);
    host_ = enet_host_create(&address, peers, 2, 0, 0);
    if (host_ == nullptr) {
        *why = "UDP port " + std::to_string(port) + " on " + bind + " cannot be had";
        return false;
    }
    host_->maximumPacketSize = LargestPacket;
    host_->maximumWaitingData = MostWaitingBytes;
    enet_socket_set_option(host_->socket, ENET_SOCKOPT_RCVBUF, SocketBuffer);
    enet_socket_set_option(host_->socket, ENET_SOCKOPT_SNDBUF, SocketBuffer);
    socket_.assign(host_->socket);
    WaitReadable();
    Wake();
    return true;
}

void UdpSide::WaitReadable() {
    socket_.async_wait(boost::asio::posix::descriptor_base::wait_read,
                       [this](const boost::system::error_code& error) {
                           if (error || host_ == nullptr) return;
                           const auto due = lastBatch_ + BatchEvery;
                           if (std::chrono::steady_clock::now() >= due) {
                               Service();
                               WaitReadable();
                               return;
                           }
                           batch_.expires_at(due);
                           batch_.async_wait([this](const boost::system::error_code& late) {
                               if (late || host_ == nullptr) return;
                               Service();
                               WaitReadable();
                           });
                       });
}

void UdpSide::Wake() {
    timer_.expires_after(ServiceEvery);
    timer_.async_wait([this](const boost::system::error_code& error) {
        if (error || host_ == nullptr) return;
        Service();
        Wake();
    });
}

bool UdpSide::Waiting() const {
    int bytes = 0;
    return ioctl(host_->socket, FIONREAD, &bytes) == 0 && bytes > 0;
}

void UdpSide::Service() {
    lastBatch_ = std::chrono::steady_clock::now();
    const uint64_t now = NowMs();
    inBatch_ = true;
    ENetEvent event{};
    // enet_host_service sends, receives and walks the peers; the events it
    // has queued are taken without that, and it is called again only while
    // datagrams wait.
    int taken = 0;
    bool more = enet_host_service(host_, &event, 0) > 0;
    while (more && taken++ < MostEventsInBatch) {
        Take(event, now);
        more = enet_host_check_events(host_, &event) > 0 ||
               (Waiting() && enet_host_service(host_, &event, 0) > 0);
    }
    inBatch_ = false;
    enet_host_flush(host_);
}

void UdpSide::Take(const ENetEvent& event, uint64_t now) {
    switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT: {
            const PeerId id = relay_.NewId();
            event.peer->data = reinterpret_cast<void*>(uintptr_t{id});
            peers_[id].peer = event.peer;
            // ENet drops unreliable packets to a peer whose round trip
            // wavers; a busy second would then cost Inputs it need not.
            // Both ends are told never to throttle down.
            enet_peer_throttle_configure(event.peer, ENET_PEER_PACKET_THROTTLE_INTERVAL,
                                         ENET_PEER_PACKET_THROTTLE_SCALE, 0);
            char text[64] = {};
            enet_address_get_host_ip(&event.peer->address, text, sizeof text);
            relay_.Connected(id, Transport::Udp, text, event.peer->address.port, now);
            break;
        }
        case ENET_EVENT_TYPE_RECEIVE: {
            const PeerId id = IdOf(event.peer);
            if (id != 0) relay_.Received(id, event.packet->data, event.packet->dataLength, now);
            enet_packet_destroy(event.packet);
            break;
        }
        case ENET_EVENT_TYPE_DISCONNECT: {
            const PeerId id = IdOf(event.peer);
            event.peer->data = nullptr;
            if (id != 0) {
                peers_.erase(id);
                relay_.Disconnected(id, now);
            }
            break;
        }
        case ENET_EVENT_TYPE_NONE:
            break;
    }
}

void UdpSide::PacketGone(ENetPacket* packet) {
    if (Self == nullptr) return;
    const auto found =
        Self->peers_.find(static_cast<PeerId>(reinterpret_cast<uintptr_t>(packet->userData)));
    if (found != Self->peers_.end() && found->second.queued >= packet->dataLength) {
        found->second.queued -= packet->dataLength;
    }
}

bool UdpSide::Send(PeerId id, const uint8_t* bytes, size_t size, bool reliable) {
    const auto found = peers_.find(id);
    if (found == peers_.end()) return false;
    ENetPacket* packet = enet_packet_create(
        bytes, size, reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (packet == nullptr) return true;
    packet->userData = reinterpret_cast<void*>(uintptr_t{id});
    packet->freeCallback = PacketGone;
    found->second.queued += size;
    if (enet_peer_send(found->second.peer, reliable ? ReliableChannel : UnreliableChannel,
                       packet) != 0) {
        enet_packet_destroy(packet);
    }
    if (!inBatch_ && !flushPosted_) {
        flushPosted_ = true;
        boost::asio::post(io_, [this] {
            flushPosted_ = false;
            if (host_ != nullptr) enet_host_flush(host_);
        });
    }
    return true;
}

bool UdpSide::Drop(PeerId id) {
    const auto found = peers_.find(id);
    if (found == peers_.end()) return false;
    enet_peer_disconnect_later(found->second.peer, 0);
    return true;
}

bool UdpSide::Queued(PeerId id, size_t* bytes) const {
    const auto found = peers_.find(id);
    if (found == peers_.end()) return false;
    *bytes = found->second.queued;
    return true;
}

void UdpSide::Flush() {
    if (host_ != nullptr) enet_host_flush(host_);
}

void UdpSide::Close() {
    if (host_ == nullptr) return;
    timer_.cancel();
    batch_.cancel();
    socket_.cancel();
    socket_.release();  // ENet closes its own socket
    peers_.clear();
    enet_host_destroy(host_);
    host_ = nullptr;
    enet_deinitialize();
}

}  // namespace relay
