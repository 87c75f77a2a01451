// One room played through the relay as the games would play it: a host on
// UDP, a guest on WebSocket, a watcher who comes halfway and a third player
// who is turned away. Every message must arrive as it was sent.
#include "play.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "clients.h"

namespace poke {

namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "relay_poke play: %s\n", what.c_str());
    std::exit(1);
}

// The message a client was waiting for, or the test fails.
Outcome Got(const Outcome& outcome, const std::string& what) {
    if (outcome.what == Outcome::Dropped) Fail("cut off waiting for " + what);
    if (outcome.what != Outcome::Message) Fail("no " + what);
    return outcome;
}

// Inputs for `count` frames from `first`, side 0 or 1 telling them apart;
// the host's carry the checksums of a frame the relay keeps for watchers
// (a multiple of 32) when there is one among them.
Bytes InputsFor(uint32_t first, uint32_t count, int side, bool host) {
    OnlineMessage m;
    m.kind = OnlineKind::Inputs;
    m.match = 1;
    m.frame = first;
    m.first = first;
    for (uint32_t f = first; f < first + count; ++f)
        m.inputs.push_back(static_cast<uint8_t>((f + side) % 8));
    if (host) {
        const uint32_t kept = (first + 31) / 32 * 32;
        m.checkFirst = kept < first + count ? kept : first;
        for (uint32_t f = m.checkFirst; f < m.checkFirst + ONLINE_MAX_CHECKS; ++f)
            m.checks.push_back(f * 7 + 1);
    }
    return EncodeOnlineMessage(m);
}

// The watcher's side of the match: every frame once, in order, both sides,
// the checksums of frames 0, 32, 64 and 96, then the Leave.
void CheckWatched(EnetClient& watcher, int64_t matchSeconds) {
    uint32_t next = 0;
    std::vector<uint32_t> checked;
    for (;;) {
        const OnlineMessage m = Got(watcher.Next(5, false), "Watch").message;
        if (m.kind == OnlineKind::Leave) break;
        if (m.kind != OnlineKind::Watch || m.first != next || m.matchSeconds != matchSeconds)
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
}

}  // namespace

int Play(uint16_t port) {
    EnetClient host;
    if (!host.Connect(port)) Fail("no UDP connection");
    const std::string code = host.Host();
    if (!IsRoomCode(code)) Fail("no room for the host");

    WsClient guest;
    if (!guest.Open(port, "/?room=" + code)) Fail("no WebSocket connection");
    guest.Send(Room(RoomWant::Join, code));
    if (Got(guest.Next(5), "RoomIs").message.kind != OnlineKind::RoomIs)
        Fail("the guest was not let in");
    EnetClient third;
    if (!third.Connect(port)) Fail("no UDP connection for a third");
    third.Send(Room(RoomWant::Join, code));
    const OnlineMessage full = Got(third.Next(5), "RoomRefuse").message;
    if (full.kind != OnlineKind::RoomRefuse || full.roomRefusal != RoomRefusal::Full)
        Fail("a third player was not refused as Full");

    OnlineMessage hello;
    hello.kind = OnlineKind::Hello;
    hello.gameVersion = "1.0.0";
    hello.stamp = 7;
    const Bytes helloBytes = EncodeOnlineMessage(hello);
    guest.SendBytes(helloBytes);
    if (Got(host.Next(5), "Hello").bytes != helloBytes) Fail("the Hello changed on the way");
    OnlineMessage welcome = hello;
    welcome.kind = OnlineKind::Welcome;
    welcome.match = 1;
    welcome.matchSeconds = 1700000000;
    const Bytes welcomeBytes = EncodeOnlineMessage(welcome);
    host.SendBytes(welcomeBytes, true);
    if (Got(guest.Next(5), "Welcome").bytes != welcomeBytes) Fail("the Welcome changed on the way");

    // 100 frames each side, ten a message; each arrives as it was sent. The
    // watcher comes halfway and still gets the match from its start.
    std::optional<EnetClient> watcher;
    for (uint32_t first = 0; first < 100; first += 10) {
        if (first == 50) {
            watcher.emplace();
            if (!watcher->Connect(port)) Fail("no UDP connection for the watcher");
            watcher->Send(Room(RoomWant::Watch, code));
            if (Got(watcher->Next(5), "RoomIs").message.want != RoomWant::Watch)
                Fail("the watcher was not let in");
        }
        const Bytes fromHost = InputsFor(first, 10, 0, true);
        const Bytes fromGuest = InputsFor(first, 10, 1, false);
        host.SendBytes(fromHost, false);
        guest.SendBytes(fromGuest);
        if (Got(guest.Next(5), "Inputs").bytes != fromHost)
            Fail("the host's Inputs changed on the way");
        if (Got(host.Next(5), "Inputs").bytes != fromGuest)
            Fail("the guest's Inputs changed on the way");
    }
    OnlineMessage leave;
    leave.kind = OnlineKind::Leave;
    leave.reason = LeaveReason::Left;
    host.Send(leave);
    if (Got(guest.Next(5), "Leave").message.kind != OnlineKind::Leave)
        Fail("the guest did not hear the host leave");
    CheckWatched(*watcher, welcome.matchSeconds);
    if (host.Next(0.05, false).what == Outcome::Message) Fail("an unexpected message");
    std::puts("ok");
    return 0;
}

}  // namespace poke
