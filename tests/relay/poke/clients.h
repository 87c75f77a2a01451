// The relay's clients for the tests: one ENet connection (as games come) or
// one WebSocket connection (as browsers come) on loopback, every wait
// bounded, and what the relay said or did in an Outcome.
#pragma once

#include <enet/enet.h>

#include <boost/asio/io_context.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <string>
#include <vector>

#include "online/protocol.h"

namespace poke {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

double Since(Clock::time_point start);

// A Room message asking for `want`, in `code` to join or watch.
OnlineMessage Room(RoomWant want, const std::string& code = "");
// Inputs for `count` frames from `frame`, with a full set of checksums.
OnlineMessage Inputs(uint32_t frame, uint32_t count);

// What the relay said next, or that it let go, or nothing (Kept).
struct Outcome {
    enum What { Message, Dropped, Kept } what = Kept;
    OnlineMessage message;
    Bytes bytes;  // the message as it came
};

// A refusal's name, as the tests' lines give it ("Full", "OverLimit"...).
const char* RefusalName(uint8_t refusal);
// "refused REASON", "dropped" or "kept", on a line of stdout.
void PrintEnd(const Outcome& outcome);

class EnetClient {
public:
    EnetClient() = default;
    EnetClient(const EnetClient&) = delete;
    EnetClient& operator=(const EnetClient&) = delete;
    ~EnetClient();
    // Connects, within 5 s; says "no answer" on stdout when it cannot.
    bool Connect(uint16_t port);
    void SendBytes(const Bytes& bytes, bool reliable);
    void Send(const OnlineMessage& message, bool reliable = true);
    // The next readable message within `seconds` (Watch messages passed over
    // when `skipWatch`), or Dropped, or Kept.
    Outcome Next(double seconds, bool skipWatch = true);
    // The last word before the relay lets go: its refusal, or Dropped or Kept.
    Outcome End(double seconds);
    // Hosts a room and returns its code ("" when refused).
    std::string Host();

private:
    ENetHost* host_ = nullptr;
    ENetPeer* peer_ = nullptr;
};

class WsClient {
public:
    WsClient();
    // Connects from `address` (any when null) with a `receiveBuffer` (the
    // system's when 0) and opens `path`; says "no answer" when it cannot.
    bool Open(uint16_t port, const std::string& path, const char* address = nullptr,
              int receiveBuffer = 0);
    bool SendBytes(const Bytes& bytes);
    bool Send(const OnlineMessage& message);
    Outcome Next(double seconds);
    Outcome End(double seconds);

private:
    template <class Start>
    boost::beast::error_code Await(double seconds, Start start);

    boost::asio::io_context io_;
    boost::beast::websocket::stream<boost::beast::tcp_stream> ws_;
    boost::beast::flat_buffer buffer_;
};

}  // namespace poke
