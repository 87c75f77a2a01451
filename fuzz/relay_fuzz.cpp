// libFuzzer target: the relay's rooms driven by a script of events read
// from the input (peers connecting, sending messages or any bytes,
// disconnecting, time passing, their queues draining). After every event
// the limits hold; every message sent is one whole message of at most
// ONLINE_MAX_MESSAGE bytes; a player's message reaches the other player
// byte for byte or not at all; nothing a watcher sends reaches a player;
// each watcher gets every frame once, in order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../tools/relay/rooms.h"
#include "match/match_input.h"
#include "online/protocol.h"

namespace {

using relay::PeerId;

void Check(bool ok) {
    if (!ok) std::abort();
}

struct FuzzPeer {
    PeerId id = 0;
    bool live = true;  // the relay has neither dropped it nor been told it left
    bool player = false;
    bool watcher = false;
    std::string code;
    size_t queued = 0;
    uint8_t watchMatch = 0;
    uint32_t watchNext = 0;
    bool watching = false;
};

struct Script {
    const uint8_t* at;
    size_t left;
    uint8_t Byte() {
        if (left == 0) return 0;
        --left;
        return *at++;
    }
    uint32_t Word() { return Byte() | uint32_t{Byte()} << 8; }
};

class Box : public relay::Outbox {
public:
    std::vector<FuzzPeer> peers;
    // The message being handled and who sent it (none for other events).
    const FuzzPeer* sender = nullptr;
    const uint8_t* bytes = nullptr;
    size_t size = 0;
    std::string lastRoomCode;

    FuzzPeer* Find(PeerId id) {
        for (FuzzPeer& p : peers) {
            if (p.id == id) return &p;
        }
        return nullptr;
    }

    void Send(PeerId id, const uint8_t* out, size_t outSize, bool reliable) override {
        FuzzPeer* to = Find(id);
        Check(to != nullptr && to->live);
        Check(outSize <= ONLINE_MAX_MESSAGE);
        OnlineMessage m;
        std::string why;
        Check(DecodeOnlineMessage(out, outSize, &m, &why));
        Check(reliable == (m.kind != OnlineKind::Inputs));
        to->queued += outSize;
        const bool fromWatcher = sender != nullptr && sender->watcher;
        if (to->player) Check(!fromWatcher);
        switch (m.kind) {
            case OnlineKind::RoomIs:
                Check(!to->player && !to->watcher);
                to->player = m.want != RoomWant::Watch;
                to->watcher = m.want == RoomWant::Watch;
                to->code = m.code;
                lastRoomCode = m.code;
                break;
            case OnlineKind::RoomRefuse:
                break;
            case OnlineKind::Watch:
                Check(to->watcher);
                Check(m.inputs.size() > 0 && m.inputs.size() <= WATCH_MAX_FRAMES);
                // Frame 0 begins a match; any other goes on from the last.
                if (m.first != 0) {
                    Check(to->watching && m.match == to->watchMatch && m.first == to->watchNext);
                }
                to->watching = true;
                to->watchMatch = m.match;
                to->watchNext = m.first + static_cast<uint32_t>(m.inputs.size());
                break;
            case OnlineKind::Leave:
                if (to->watcher) break;
                if (m.reason == LeaveReason::Lost) break;  // the relay's own, for a lost player
                [[fallthrough]];
            default:
                // A player's message, passed on as it came, to the other player.
                Check(to->player && sender != nullptr && sender->player && sender != to);
                Check(sender->code == to->code);
                Check(outSize == size && std::equal(out, out + outSize, bytes));
        }
    }
    void Drop(PeerId id) override {
        FuzzPeer* p = Find(id);
        Check(p != nullptr && p->live);
        p->live = false;
    }
    size_t Queued(PeerId id) const override {
        for (const FuzzPeer& p : peers) {
            if (p.id == id) return p.queued;
        }
        std::abort();
    }
    void Log(const std::string& line) override { Check(!line.empty() && line.size() < 512); }
};

relay::Limits SmallLimits() {
    relay::Limits limits;
    limits.max_rooms = 3;
    limits.max_peers = 10;
    limits.max_connections_per_address = 4;
    limits.max_messages_per_second = 20;
    limits.max_message_burst = 40;
    limits.max_watchers_per_room = 2;
    limits.hello_timeout_s = 10;
    limits.room_idle_s = 60;
    limits.max_queued_bytes = 1024;
    limits.max_match_frames = 300;
    return limits;
}

// A message a game might send, shaped by the script, so rooms fill and
// matches get recorded rather than everything being refused as unreadable.
std::vector<uint8_t> MakeMessage(Script& s, const Box& box) {
    OnlineMessage m;
    const uint8_t what = s.Byte() % 8;
    switch (what) {
        case 0:
        case 1: {
            m.kind = OnlineKind::Room;
            m.protocol = s.Byte() < 250 ? ONLINE_PROTOCOL : 1;
            m.want = static_cast<RoomWant>(1 + s.Byte() % 3);
            if (m.want != RoomWant::Host)
                m.code = box.lastRoomCode.empty() ? "ACDEF" : box.lastRoomCode;
            break;
        }
        case 2:
            m.kind = s.Byte() % 2 ? OnlineKind::Welcome : OnlineKind::Rematch;
            m.match = s.Byte() % 4;
            m.matchSeconds = static_cast<int64_t>(s.Word()) << 20;
            break;
        case 3:
            m.kind = OnlineKind::Leave;
            m.reason = static_cast<LeaveReason>(1 + s.Byte() % 4);
            break;
        default: {
            m.kind = OnlineKind::Inputs;
            m.match = s.Byte() % 4;
            m.first = s.Word() % 400;
            const uint32_t count = s.Byte() % (ONLINE_MAX_INPUTS + 1);
            for (uint32_t i = 0; i < count; ++i) m.inputs.push_back(s.Byte() & ONLINE_ALL);
            m.checkFirst = s.Word() % 400;
            const uint32_t checks = s.Byte() % (ONLINE_MAX_CHECKS + 1);
            for (uint32_t i = 0; i < checks; ++i) m.checks.push_back(s.Word());
        }
    }
    return EncodeOnlineMessage(m);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t dataSize) {
    Box box;
    const relay::Limits limits = SmallLimits();
    relay::Relay relay(limits, box, 1, dataSize > 0 && data[0] % 2 ? "KM" : "");
    Script s{data, dataSize};
    uint64_t now = 1000000;
    for (int step = 0; step < 2000 && s.left > 0; ++step) {
        const uint8_t op = s.Byte() % 8;
        FuzzPeer* peer = box.peers.empty() ? nullptr : &box.peers[s.Byte() % box.peers.size()];
        if (op == 0 || peer == nullptr) {
            if (box.peers.size() >= 40) continue;
            FuzzPeer added;
            added.id = relay.NewId();
            box.peers.push_back(added);
            const std::string address = "10.0.0." + std::to_string(s.Byte() % 3);
            relay.Connected(added.id, s.Byte() % 2 ? relay::Transport::Udp : relay::Transport::Ws,
                            address, static_cast<uint16_t>(s.Word()), now);
        } else if (op <= 3) {
            // One message, or a run of Inputs going on from each other (to
            // fill a match's record, a reader's queue, a peer's allowance).
            std::vector<std::vector<uint8_t>> sent;
            if (op == 3) {
                const uint8_t length = s.Byte();
                std::vector<uint8_t> bytes;
                if (length == 255) bytes.assign(ONLINE_MAX_MESSAGE + s.Byte(), 4);
                for (size_t i = 0; i < length * 3u && s.left > 0; ++i) bytes.push_back(s.Byte());
                sent.push_back(bytes);
            } else if (op == 2) {
                OnlineMessage m;
                m.kind = OnlineKind::Inputs;
                m.match = s.Byte() % 4;
                const uint32_t count = 1 + s.Byte() % ONLINE_MAX_INPUTS;
                m.first = s.Word() % 400;
                m.inputs.assign(count, 1);
                m.checks.assign(ONLINE_MAX_CHECKS, 9);
                for (uint32_t run = 1 + s.Byte() % 64; run > 0; --run) {
                    m.checkFirst = m.first;
                    sent.push_back(EncodeOnlineMessage(m));
                    m.first += count;
                }
            } else {
                sent.push_back(MakeMessage(s, box));
            }
            for (const std::vector<uint8_t>& bytes : sent) {
                if (!peer->live) break;
                // A player's role is learnt from its RoomIs, sent while handling.
                const FuzzPeer copy = *peer;
                box.sender = &copy;
                box.bytes = bytes.data();
                box.size = bytes.size();
                relay.Received(peer->id, bytes.data(), bytes.size(), now);
                box.sender = nullptr;
            }
        } else if (op == 4) {
            if (!peer->live) continue;
            peer->live = false;
            relay.Disconnected(peer->id, now);
        } else if (op == 5) {
            peer->queued = peer->queued > 300 ? peer->queued - 300 : 0;
        } else {
            const uint32_t pass = s.Byte();
            now += op == 6 ? pass * 10 : uint64_t{pass} * pass * 1000;
            for (FuzzPeer& p : box.peers) p.queued = p.queued / 2;
            relay.Tick(now);
        }
        Check(relay.RoomCount() <= limits.max_rooms);
        Check(relay.PeerCount() <= limits.max_peers);
        Check(relay.MostWatchersInARoom() <= limits.max_watchers_per_room);
        Check(relay.MostFramesInARoom() <= 8 * size_t{limits.max_match_frames});
        size_t live = 0;
        for (const FuzzPeer& p : box.peers) {
            if (!p.live) continue;
            ++live;
            Check(p.queued <= limits.max_queued_bytes);
        }
        Check(relay.PeerCount() == live);
        const relay::RelayCounts counts = relay.Counts();
        Check(counts.players + counts.watchers <= counts.peers && counts.rooms <= limits.max_rooms);
    }
    relay.CloseAll();
    Check(relay.PeerCount() == 0);
    for (const FuzzPeer& p : box.peers) Check(!p.live);
    return 0;
}
