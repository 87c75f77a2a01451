// The browsers' side of the relay, on TCP: each connection's first request
// is read with a bounded header and a deadline; GET /status is answered
// with the status JSON, a WebSocket upgrade (any path) makes a peer, and
// anything else is 404. A peer's messages are binary frames, one message a
// frame; what waits to be written to it is bounded.
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "rooms.h"

namespace relay {

class WsPeer;

class WsSide {
public:
    using StatusJson = std::function<std::string()>;
    WsSide(boost::asio::io_context& io, Relay& relay, StatusJson status);
    bool Open(const std::string& bind, uint16_t port, std::string* why);
    // False when the peer is not one of ours.
    bool Send(PeerId peer, const uint8_t* bytes, size_t size, bool reliable);
    bool Drop(PeerId peer);
    bool Queued(PeerId peer, size_t* bytes) const;
    // Stops taking connections; the peers are left to their goodbyes.
    void Close();

    // For the connections.
    Relay& relay() { return relay_; }
    const std::string& Status() { return status_text_ = status_(); }
    void Joined(PeerId id, std::shared_ptr<WsPeer> peer);
    void Left(PeerId id);

private:
    void Accept();

    Relay& relay_;
    StatusJson status_;
    std::string status_text_;
    boost::asio::ip::tcp::acceptor acceptor_;
    std::unordered_map<PeerId, std::shared_ptr<WsPeer>> peers_;
    // Connections still on their first request. Shared with them: one may
    // outlive the side when the process ends with it pending.
    std::shared_ptr<size_t> requests_ = std::make_shared<size_t>(0);
};

}  // namespace relay
