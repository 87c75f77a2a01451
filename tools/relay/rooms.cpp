#include "rooms.h"

#include <algorithm>

namespace relay {

namespace {

// Watchers get their frames in a few bursts a second, not one per input.
constexpr uint64_t FeedEveryMs = 50;
// Lines about dropped peers in one second; the rest are counted.
constexpr uint32_t MostDropLines = 20;
constexpr int CodeTries = 64;

const char* WantName(RoomWant want) {
    switch (want) {
        case RoomWant::Host:
            return "opened";
        case RoomWant::Join:
            return "joined";
        case RoomWant::Watch:
            return "watcher";
    }
    return "";
}

}  // namespace

Relay::Relay(const Limits& limits, Outbox& out, uint32_t seed, std::string firstLetters)
    : limits_(limits), out_(out), random_(seed), firstLetters_(std::move(firstLetters)) {}

void Relay::Connected(PeerId id, Transport transport, const std::string& address, uint16_t port,
                      uint64_t nowMs) {
    if (peers_.count(id) != 0) return;
    const bool full = peers_.size() >= limits_.max_peers;
    Peer& peer = peers_[id];
    peer.transport = transport;
    peer.address = address;
    peer.label = std::string(transport == Transport::Udp ? "udp " : "ws ") + address + ":" +
                 std::to_string(port);
    peer.since = peer.filled = nowMs;
    peer.tokens = uint64_t{limits_.max_message_burst} * 1000;
    const uint32_t from = ++perAddress_[address];
    if (full) {
        Refuse(id, RoomRefusal::OverLimit, "over a limit (peers)");
    } else if (from > limits_.max_connections_per_address) {
        Refuse(id, RoomRefusal::OverLimit, "over a limit (connections from one address)");
    }
}

void Relay::Received(PeerId id, const uint8_t* bytes, size_t size, uint64_t nowMs) {
    const auto found = peers_.find(id);
    if (found == peers_.end()) return;
    Peer& peer = found->second;
    ++messages_;
    bytes_ += size;
    if (size > limits_.max_message_bytes) {
        Refuse(id, RoomRefusal::OverLimit, "over a limit (message size)");
        return;
    }
    // The bucket: filled at the allowed rate up to the burst, a message
    // takes one.
    const uint64_t most = uint64_t{limits_.max_message_burst} * 1000;
    if (nowMs > peer.filled) {
        const uint64_t added = (nowMs - peer.filled) * limits_.max_messages_per_second;
        peer.tokens = std::min(most, peer.tokens + std::min(added, most));
        peer.filled = nowMs;
    }
    if (peer.tokens < 1000) {
        Refuse(id, RoomRefusal::OverLimit, "over a limit (messages a second)");
        return;
    }
    peer.tokens -= 1000;
    std::string why;
    if (!DecodeOnlineMessage(bytes, size, &got_, &why)) {
        Refuse(id, RoomRefusal::NotAllowed, "unreadable (" + why + ")");
        return;
    }
    gotBytes_ = bytes;
    gotSize_ = size;
    Handle(id, peer, nowMs);
}

void Relay::Handle(PeerId id, Peer& peer, uint64_t nowMs) {
    const OnlineKind kind = got_.kind;
    if (peer.role == Role::None) {
        if (kind != OnlineKind::Room) {
            Refuse(id, RoomRefusal::NotAllowed, "a first message that is not Room");
        } else if (got_.protocol != ONLINE_PROTOCOL) {
            Refuse(id, RoomRefusal::Protocol, "protocol " + std::to_string(got_.protocol));
        } else {
            HandleRoom(id, peer, nowMs);
        }
        return;
    }
    if (peer.role == Role::Watcher) {
        Refuse(id, RoomRefusal::NotAllowed, "a watcher that spoke");
        return;
    }
    if (static_cast<uint8_t>(kind) >= static_cast<uint8_t>(OnlineKind::Room)) {
        Refuse(id, RoomRefusal::NotAllowed, "a player's message for the relay");
        return;
    }
    Room& room = *peer.room;
    room.lastTraffic = nowMs;
    const PeerId other = peer.role == Role::Host ? room.guest : room.host;
    // Before the guest comes and after it has gone there is no one to tell.
    if (other == 0) return;
    const int side = peer.role == Role::Host ? 0 : 1;
    if (kind == OnlineKind::Inputs) {
        if (room.record.TakeInputs(side, got_, limits_.max_match_frames)) {
            out_.Log("room " + room.code + " stopped recording match " +
                     std::to_string(got_.match) + " at " +
                     std::to_string(limits_.max_match_frames) + " frames");
        }
    } else if (side == 0 && (kind == OnlineKind::Welcome || kind == OnlineKind::Rematch)) {
        room.record.Start(got_.match, got_.matchSeconds, limits_.max_match_frames);
    } else if (kind == OnlineKind::Leave) {
        peer.saidLeave = true;
        if (room.leaveReason == 0) room.leaveReason = static_cast<uint8_t>(got_.reason);
        room.record.Finish();
    }
    Forward(other, peer, gotBytes_, gotSize_);
}

void Relay::Forward(PeerId to, Peer& from, const uint8_t* bytes, size_t size) {
    (void)from;
    SendBytes(to, bytes, size, got_.kind != OnlineKind::Inputs);
    if (out_.Queued(to) > limits_.max_queued_bytes) {
        Refuse(to, RoomRefusal::OverLimit, "over a limit (a slow reader)");
    }
}

void Relay::HandleRoom(PeerId id, Peer& peer, uint64_t nowMs) {
    Room* room = nullptr;
    if (got_.want == RoomWant::Host) {
        std::string code;
        if (rooms_.size() >= limits_.max_rooms || !NewCode(&code)) {
            Refuse(id, RoomRefusal::TooManyRooms, "too many rooms");
            return;
        }
        room = &rooms_[code];
        room->code = code;
        room->host = id;
        room->lastTraffic = nowMs;
        peer.role = Role::Host;
    } else {
        const auto found = rooms_.find(got_.code);
        if (found == rooms_.end() || found->second.closing) {
            Refuse(id, RoomRefusal::NoSuchRoom, "no room " + got_.code);
            return;
        }
        room = &found->second;
        if (got_.want == RoomWant::Join) {
            if (room->hadGuest) {
                Refuse(id, RoomRefusal::Full, "room " + room->code + " is full");
                return;
            }
            room->guest = id;
            room->hadGuest = true;
            room->lastTraffic = nowMs;
            peer.role = Role::Guest;
        } else {
            if (room->watchers.size() >= limits_.max_watchers_per_room) {
                Refuse(id, RoomRefusal::TooManyWatchers,
                       "room " + room->code + " has its watchers");
                return;
            }
            room->watchers.push_back(id);
            watched_.insert(room);
            peer.role = Role::Watcher;
            peer.cursor = room->record.Begin();
        }
    }
    peer.room = room;
    OnlineMessage is;
    is.kind = OnlineKind::RoomIs;
    is.want = got_.want;
    is.code = room->code;
    SendMessage(id, is, true);
    out_.Log("room " + room->code + " " + WantName(got_.want) + " (" + peer.label + ")");
}

bool Relay::NewCode(std::string* code) {
    const size_t alphabet = sizeof(ROOM_CODE_ALPHABET) - 1;
    for (int i = 0; i < CodeTries; ++i) {
        code->clear();
        if (!firstLetters_.empty()) {
            *code += firstLetters_[random_() % firstLetters_.size()];
        }
        while (code->size() < ROOM_CODE_LETTERS) *code += ROOM_CODE_ALPHABET[random_() % alphabet];
        if (rooms_.count(*code) == 0) return true;
    }
    return false;
}

void Relay::SendMessage(PeerId to, const OnlineMessage& message, bool reliable) {
    const std::vector<uint8_t> bytes = EncodeOnlineMessage(message);
    SendBytes(to, bytes.data(), bytes.size(), reliable);
}

void Relay::SendBytes(PeerId to, const uint8_t* bytes, size_t size, bool reliable) {
    ++messages_;
    bytes_ += size;
    out_.Send(to, bytes, size, reliable);
}

void Relay::Refuse(PeerId id, RoomRefusal refusal, const std::string& why) {
    const auto found = peers_.find(id);
    if (found == peers_.end()) return;
    OnlineMessage refuse;
    refuse.kind = OnlineKind::RoomRefuse;
    refuse.roomRefusal = refusal;
    SendMessage(id, refuse, true);
    out_.Drop(id);
    LogDrop("dropped " + found->second.label + ": " + why);
    Forget(id);
}

void Relay::Forget(PeerId id) {
    const auto found = peers_.find(id);
    if (found == peers_.end()) return;
    const Role role = found->second.role;
    Room* room = found->second.room;
    const bool saidLeave = found->second.saidLeave;
    const auto from = perAddress_.find(found->second.address);
    if (from != perAddress_.end() && --from->second == 0) perAddress_.erase(from);
    peers_.erase(found);
    if (room == nullptr) return;
    if (role == Role::Watcher) {
        auto& w = room->watchers;
        w.erase(std::remove(w.begin(), w.end(), id), w.end());
        if (w.empty()) {
            watched_.erase(room);
            if (room->closing) EraseRoom(*room);
        }
    } else {
        PlayerGone(*room, id, saidLeave);
    }
}

void Relay::PlayerGone(Room& room, PeerId id, bool saidLeave) {
    PeerId other = 0;
    if (room.host == id) {
        room.host = 0;
        other = room.guest;
    } else if (room.guest == id) {
        room.guest = 0;
        other = room.host;
    }
    if (!saidLeave) {
        if (room.leaveReason == 0) room.leaveReason = static_cast<uint8_t>(LeaveReason::Lost);
        if (other != 0) {
            OnlineMessage leave;
            leave.kind = OnlineKind::Leave;
            leave.reason = LeaveReason::Lost;
            SendMessage(other, leave, true);
        }
    }
    room.record.Finish();
    if (room.host == 0 && room.guest == 0) CloseRoom(room, "both players left");
}

void Relay::CloseRoom(Room& room, const std::string& why) {
    out_.Log("room " + room.code + " closed (" + why + ")");
    room.closing = true;
    if (room.leaveReason == 0) room.leaveReason = static_cast<uint8_t>(LeaveReason::Left);
    room.record.Finish();
    if (room.watchers.empty()) EraseRoom(room);
}

void Relay::EraseRoom(Room& room) {
    watched_.erase(&room);
    const std::string code = room.code;
    rooms_.erase(code);
}

void Relay::FeedWatchers(Room& room) {
    const size_t window = limits_.max_queued_bytes / 2;
    std::vector<WatchCursor> cursors;
    cursors.reserve(room.watchers.size());
    for (size_t i = 0; i < room.watchers.size();) {
        const PeerId id = room.watchers[i];
        Peer& w = peers_.at(id);
        while (out_.Queued(id) < window && room.record.Next(&w.cursor, &made_)) {
            bytes_out_ = EncodeOnlineMessage(made_);
            SendBytes(id, bytes_out_.data(), bytes_out_.size(), true);
        }
        if (room.leaveReason != 0 && !w.leaveSent && room.record.Done(w.cursor)) {
            OnlineMessage leave;
            leave.kind = OnlineKind::Leave;
            leave.reason = static_cast<LeaveReason>(room.leaveReason);
            SendMessage(id, leave, true);
            w.leaveSent = true;
        }
        if (room.closing && w.leaveSent) {
            out_.Drop(id);
            w.room = nullptr;  // nothing more to tell the room
            Forget(id);
            room.watchers[i] = room.watchers.back();
            room.watchers.pop_back();
            continue;
        }
        cursors.push_back(w.cursor);
        ++i;
    }
    room.record.Trim(cursors);
}

void Relay::Tick(uint64_t nowMs) {
    for (auto it = watched_.begin(); it != watched_.end();) {
        Room& room = **it;
        ++it;  // feeding may let the room go
        if (nowMs - room.lastFed < FeedEveryMs && !room.closing) continue;
        room.lastFed = nowMs;
        FeedWatchers(room);
        if (room.watchers.empty()) {
            watched_.erase(&room);
            if (room.closing) EraseRoom(room);
        }
    }
    if (nowMs - lastSweep_ >= 1000) Sweep(nowMs);
}

void Relay::Sweep(uint64_t nowMs) {
    lastSweep_ = nowMs;
    if (dropsUnlogged_ > 0) {
        out_.Log("dropped " + std::to_string(dropsUnlogged_) + " more peers (not said one by one)");
    }
    dropsLogged_ = dropsUnlogged_ = 0;
    std::vector<PeerId> late;
    for (const auto& [id, peer] : peers_) {
        if (peer.role == Role::None &&
            nowMs - peer.since >= uint64_t{limits_.hello_timeout_s} * 1000)
            late.push_back(id);
    }
    for (PeerId id : late) Refuse(id, RoomRefusal::Idle, "no Room in time");
    std::vector<Room*> idle;
    for (auto& [code, room] : rooms_) {
        if (nowMs - room.lastTraffic >= uint64_t{limits_.room_idle_s} * 1000) idle.push_back(&room);
    }
    for (Room* room : idle) {
        std::vector<PeerId> everyone = room->watchers;
        if (room->host != 0) everyone.push_back(room->host);
        if (room->guest != 0) everyone.push_back(room->guest);
        if (!room->closing) out_.Log("room " + room->code + " closed (idle)");
        OnlineMessage refuse;
        refuse.kind = OnlineKind::RoomRefuse;
        refuse.roomRefusal = RoomRefusal::Idle;
        for (PeerId id : everyone) {
            SendMessage(id, refuse, true);
            out_.Drop(id);
            peers_.at(id).room = nullptr;
            Forget(id);
        }
        EraseRoom(*room);
    }
}

void Relay::Disconnected(PeerId id, uint64_t nowMs) {
    (void)nowMs;
    const auto found = peers_.find(id);
    if (found == peers_.end()) return;
    if (found->second.role == Role::Host || found->second.role == Role::Guest) {
        out_.Log("room " + found->second.room->code + " " +
                 (found->second.role == Role::Host ? "host" : "guest") + " gone (" +
                 found->second.label + ")");
    }
    Forget(id);
}

void Relay::TooLong(PeerId id) {
    Refuse(id, RoomRefusal::OverLimit, "over a limit (message size)");
}

void Relay::CloseAll() {
    OnlineMessage refuse;
    refuse.kind = OnlineKind::RoomRefuse;
    refuse.roomRefusal = RoomRefusal::Closed;
    for (const auto& [id, peer] : peers_) {
        SendMessage(id, refuse, true);
        out_.Drop(id);
    }
    out_.Log("closing: " + std::to_string(peers_.size()) + " peers and " +
             std::to_string(rooms_.size()) + " rooms sent away");
    peers_.clear();
    rooms_.clear();
    perAddress_.clear();
    watched_.clear();
}

void Relay::LogDrop(const std::string& line) {
    if (dropsLogged_ < MostDropLines) {
        ++dropsLogged_;
        out_.Log(line);
    } else {
        ++dropsUnlogged_;
    }
}

RelayCounts Relay::Counts() const {
    RelayCounts counts;
    counts.rooms = rooms_.size();
    counts.peers = peers_.size();
    for (const auto& [code, room] : rooms_) {
        counts.players += (room.host != 0) + (room.guest != 0);
        counts.watchers += room.watchers.size();
    }
    counts.messages = messages_;
    counts.bytes = bytes_;
    return counts;
}

size_t Relay::MostWatchersInARoom() const {
    size_t most = 0;
    for (const auto& [code, room] : rooms_) most = std::max(most, room.watchers.size());
    return most;
}

size_t Relay::MostFramesInARoom() const {
    size_t most = 0;
    for (const auto& [code, room] : rooms_) most = std::max(most, room.record.FramesHeld());
    return most;
}

}  // namespace relay
