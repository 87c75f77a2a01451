// The relay without its sockets: peers, rooms and their codes, the
// watchers' record, the limits and the timeouts. The two sides (ENet and
// WebSocket) tell it what happened; it answers through an Outbox. Nothing
// here knows the rules of the game: it pairs peers by room and passes the
// players' messages on unchanged. The fuzzer drives it the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "config.h"
#include "online/protocol.h"
#include "record.h"

namespace relay {

using PeerId = uint32_t;
enum class Transport : uint8_t { Udp, Ws };

// Where the relay's decisions go.
class Outbox {
public:
    virtual ~Outbox() = default;
    // One message to one peer; Inputs go unreliably, all else reliably.
    virtual void Send(PeerId peer, const uint8_t* bytes, size_t size, bool reliable) = 0;
    // Disconnects the peer once what was sent to it has gone. The relay has
    // forgotten it already: later news of it is ignored.
    virtual void Drop(PeerId peer) = 0;
    // Bytes sent to the peer that have not yet left (or, reliably, arrived).
    virtual size_t Queued(PeerId peer) const = 0;
    virtual void Log(const std::string& line) = 0;
};

struct RelayCounts {
    size_t rooms = 0;
    size_t players = 0;
    size_t watchers = 0;
    size_t peers = 0;
    uint64_t messages = 0;  // in and out together, since the start
    uint64_t bytes = 0;
};

class Relay {
public:
    // `firstLetters`: the letters a code may begin with (empty: any).
    Relay(const Limits& limits, Outbox& out, uint32_t seed, std::string firstLetters);

    PeerId NewId() { return nextId_++; }
    // `address` is the peer's IP address as text, `port` its port: the
    // connections per address are counted by the address alone.
    void Connected(PeerId id, Transport transport, const std::string& address, uint16_t port,
                   uint64_t nowMs);
    void Received(PeerId id, const uint8_t* bytes, size_t size, uint64_t nowMs);
    void Disconnected(PeerId id, uint64_t nowMs);
    // A message too long for the transport to read whole (WebSocket): the
    // peer is dropped as over a limit, as for any message too long.
    void TooLong(PeerId id);
    // Call every few milliseconds: watchers are fed, and once a second the
    // timeouts are looked at.
    void Tick(uint64_t nowMs);
    // Shutting down: everyone is sent RoomRefuse(Closed) and dropped.
    void CloseAll();

    RelayCounts Counts() const;
    const Limits& limits() const { return limits_; }
    // For the fuzzer's checks.
    size_t RoomCount() const { return rooms_.size(); }
    size_t PeerCount() const { return peers_.size(); }
    size_t MostWatchersInARoom() const;
    size_t MostFramesInARoom() const;

private:
    enum class Role : uint8_t { None, Host, Guest, Watcher };
    struct Room;
    struct Peer {
        Transport transport;
        Role role = Role::None;
        bool saidLeave = false;  // a player who left with a Leave of its own
        bool leaveSent = false;  // a watcher who has had the room's Leave
        std::string address;
        std::string label;  // "udp 127.0.0.1:40000", for the log
        uint64_t since = 0;
        uint64_t tokens = 0;  // thousandths of a message
        uint64_t filled = 0;  // when the bucket was last filled
        Room* room = nullptr;
        WatchCursor cursor;
    };
    struct Room {
        std::string code;
        PeerId host = 0;
        PeerId guest = 0;
        bool hadGuest = false;
        bool closing = false;     // both players gone: the watchers finish
        uint8_t leaveReason = 0;  // what the watchers are told at the end
        uint64_t lastTraffic = 0;
        uint64_t lastFed = 0;
        std::vector<PeerId> watchers;
        WatchRecord record;
    };

    void Handle(PeerId id, Peer& peer, uint64_t nowMs);
    void HandleRoom(PeerId id, Peer& peer, uint64_t nowMs);
    void Forward(PeerId from, Peer& peer, const uint8_t* bytes, size_t size);
    void SendMessage(PeerId to, const OnlineMessage& message, bool reliable);
    void SendBytes(PeerId to, const uint8_t* bytes, size_t size, bool reliable);
    void Refuse(PeerId id, RoomRefusal refusal, const std::string& why);
    void Forget(PeerId id);
    void PlayerGone(Room& room, PeerId id, bool saidLeave);
    void CloseRoom(Room& room, const std::string& why);
    void EraseRoom(Room& room);
    void FeedWatchers(Room& room);
    void Sweep(uint64_t nowMs);
    void LogDrop(const std::string& line);
    bool NewCode(std::string* code);

    Limits limits_;
    Outbox& out_;
    std::mt19937 random_;
    std::string firstLetters_;
    PeerId nextId_ = 1;
    std::unordered_map<PeerId, Peer> peers_;
    std::unordered_map<std::string, Room> rooms_;
    std::unordered_map<std::string, uint32_t> perAddress_;
    std::unordered_set<Room*> watched_;
    uint64_t messages_ = 0;
    uint64_t bytes_ = 0;
    uint64_t lastSweep_ = 0;
    uint32_t dropsLogged_ = 0;
    uint32_t dropsUnlogged_ = 0;
    OnlineMessage got_;   // the message being handled, its buffers reused
    OnlineMessage made_;  // a Watch being made
    std::vector<uint8_t> bytes_out_;
    const uint8_t* gotBytes_ = nullptr;
    size_t gotSize_ = 0;
};

}  // namespace relay
