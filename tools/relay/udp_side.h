// The native games' side of the relay: one ENet host on UDP, serviced from
// the io_context when its socket is readable and on a short timer. Events
// are taken in batches and what they made is flushed once a batch, so a
// busy relay does not walk ENet's peers once per message.
#pragma once

#include <enet/enet.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/posix/stream_descriptor.hpp>
#include <boost/asio/steady_timer.hpp>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "rooms.h"

namespace relay {

class UdpSide {
public:
    UdpSide(boost::asio::io_context& io, Relay& relay);
    ~UdpSide();
    bool Open(const std::string& bind, uint16_t port, std::string* why);
    // False when the peer is not one of ours.
    bool Send(PeerId peer, const uint8_t* bytes, size_t size, bool reliable);
    bool Drop(PeerId peer);
    bool Queued(PeerId peer, size_t* bytes) const;
    // Sends what waits now (after the relay was told something outside a batch).
    void Flush();
    void Close();
    size_t Connections() const { return peers_.size(); }

private:
    struct Peer {
        ENetPeer* peer = nullptr;
        size_t queued = 0;
    };
    static void PacketGone(ENetPacket* packet);
    void WaitReadable();
    void Wake();
    void Service();
    void Take(const ENetEvent& event, uint64_t now);
    bool Waiting() const;

    boost::asio::io_context& io_;
    Relay& relay_;
    ENetHost* host_ = nullptr;
    boost::asio::posix::stream_descriptor socket_;
    boost::asio::steady_timer timer_;
    boost::asio::steady_timer batch_;
    std::chrono::steady_clock::time_point lastBatch_;
    std::unordered_map<PeerId, Peer> peers_;
    bool inBatch_ = false;
    bool flushPosted_ = false;
};

}  // namespace relay
