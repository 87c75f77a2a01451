// A hostile or odd peer for the online tests: it speaks ENet to a game on
// loopback and says what a player's game would not.
//
//   net_poke hello PORT VERSION PROTOCOL   greet a host as that version; print
//                                          "welcome", "refused version",
//                                          "refused full" or "no answer"
//   net_poke flood PORT SECONDS RATE       connect, then send RATE messages of
//                                          random bytes a second
//   net_poke host PORT VERSION             host as another version: refuse
//                                          the first guest, then end
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

#include "online/protocol.h"
#include "platform/platform.h"

namespace {

using Clock = std::chrono::steady_clock;

bool WaitFor(platform::NetEventKind kind, double seconds, platform::NetEvent* event) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        while (platform::NetPoll(event)) {
            if (event->kind == kind) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

void Send(uint32_t peer, const OnlineMessage& message) {
    const std::vector<uint8_t> bytes = EncodeOnlineMessage(message);
    platform::NetSend(peer, bytes.data(), bytes.size(), true);
}

int Connect(uint16_t port, uint32_t* peer) {
    std::string why;
    platform::NetEvent event{};
    if (!platform::NetConnect("127.0.0.1", port, &why) ||
        !WaitFor(platform::NetEventKind::Connected, 5, &event)) {
        std::puts("no answer");
        return 1;
    }
    *peer = event.peer;
    return 0;
}

int Hello(uint16_t port, const char* version, uint16_t protocol) {
    uint32_t peer = 0;
    if (Connect(port, &peer) != 0) return 1;
    OnlineMessage hello;
    hello.kind = OnlineKind::Hello;
    hello.gameVersion = version;
    hello.protocol = protocol;
    Send(peer, hello);
    platform::NetEvent event{};
    if (!WaitFor(platform::NetEventKind::Message, 5, &event)) {
        std::puts("no answer");
        return 1;
    }
    OnlineMessage reply;
    std::string why;
    if (!DecodeOnlineMessage(event.bytes, event.size, &reply, &why)) {
        std::printf("unreadable reply: %s\n", why.c_str());
        return 1;
    }
    if (reply.kind == OnlineKind::Welcome) std::puts("welcome");
    if (reply.kind == OnlineKind::Refuse) {
        std::puts(reply.refusal == Refusal::Version ? "refused version" : "refused full");
    }
    platform::NetClose();
    return 0;
}

int Flood(uint16_t port, double seconds, int rate) {
    uint32_t peer = 0;
    if (Connect(port, &peer) != 0) return 1;
    std::mt19937 random(7);
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    long sent = 0;
    while (Clock::now() < end) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        for (; sent < static_cast<long>(elapsed * rate); ++sent) {
            uint8_t bytes[64];
            const size_t size = 1 + random() % sizeof bytes;
            for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(random());
            // Now and then a message that reads as inputs from a stranger.
            if (sent % 10 == 0) bytes[0] = static_cast<uint8_t>(OnlineKind::Inputs);
            platform::NetSend(peer, bytes, size, false);
        }
        platform::NetEvent event{};
        while (platform::NetPoll(&event)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::printf("sent %ld\n", sent);
    platform::NetClose();
    return 0;
}

int Host(uint16_t port, const char* version) {
    std::string why;
    if (!platform::NetListen(port, 2, &why)) {
        std::printf("cannot host: %s\n", why.c_str());
        return 1;
    }
    platform::NetEvent event{};
    if (!WaitFor(platform::NetEventKind::Message, 30, &event)) return 1;
    OnlineMessage refuse;
    refuse.kind = OnlineKind::Refuse;
    refuse.refusal = Refusal::Version;
    refuse.gameVersion = version;
    refuse.protocol = ONLINE_PROTOCOL + 1;
    const uint32_t peer = event.peer;
    Send(peer, refuse);
    WaitFor(platform::NetEventKind::Disconnected, 2, &event);
    platform::NetClose();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    const uint16_t port = argc > 2 ? static_cast<uint16_t>(std::atoi(argv[2])) : 0;
    if (mode == "hello" && argc == 5)
        return Hello(port, argv[3], static_cast<uint16_t>(std::atoi(argv[4])));
    if (mode == "flood" && argc == 5) return Flood(port, std::atof(argv[3]), std::atoi(argv[4]));
    if (mode == "host" && argc == 4) return Host(port, argv[3]);
    std::fputs(
        "usage: net_poke hello PORT VERSION PROTOCOL | flood PORT SECONDS RATE | host PORT "
        "VERSION\n",
        stderr);
    return 2;
}
