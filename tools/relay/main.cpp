// volleen-relay: the server players meet through by room code.
//
//   volleen-relay [--port 24861] [--bind ADDR] [--config FILE] [--letters LETTERS]
//
// One thread, one io_context: the ENet host (UDP) and the WebSocket and
// HTTP side (TCP) on the same port number, both telling one Relay.
#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "clock.h"
#include "common/parse_integer.h"
#include "config.h"
#include "rooms.h"
#include "status.h"
#include "udp_side.h"
#include "ws_side.h"

namespace {

using namespace relay;

constexpr auto TickEvery = std::chrono::milliseconds(10);
// After the goodbyes, this long to send them before the process ends.
constexpr auto GoodbyeTime = std::chrono::milliseconds(300);

const char Usage[] =
    "usage: volleen-relay [--port N] [--bind ADDR] [--config FILE] [--letters LETTERS]\n"
    "  --port N           UDP (games) and TCP (browsers, GET /status) port, default 24861\n"
    "  --bind ADDR        the IPv4 address to listen on, default 0.0.0.0\n"
    "  --config FILE      limits, `name = value` lines (docs/online.md)\n"
    "  --letters LETTERS  the letters this relay's room codes begin with\n";

struct Options {
    uint16_t port = RELAY_DEFAULT_PORT;
    std::string bind = "0.0.0.0";
    std::string config;
    std::string letters;
};

bool ReadOptions(int argc, char** argv, Options* options, std::string* why) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            std::fputs(Usage, stdout);
            std::exit(0);
        }
        if (i + 1 >= argc) {
            *why = name == "--port" || name == "--bind" || name == "--config" || name == "--letters"
                       ? name + " needs a value"
                       : "unknown option " + name;
            return false;
        }
        const std::string value = argv[++i];
        if (name == "--port") {
            int64_t port = 0;
            if (!ParseInteger(value, 1, 65535, &port)) {
                *why = "--port must be a whole number from 1 to 65535";
                return false;
            }
            options->port = static_cast<uint16_t>(port);
        } else if (name == "--bind") {
            options->bind = value;
        } else if (name == "--config") {
            options->config = value;
        } else if (name == "--letters") {
            for (char letter : value) {
                if (letter == '\0' || std::strchr(ROOM_CODE_ALPHABET, letter) == nullptr) {
                    *why = std::string("--letters takes letters of ") + ROOM_CODE_ALPHABET;
                    return false;
                }
            }
            if (value.empty()) {
                *why = "--letters needs at least one letter";
                return false;
            }
            options->letters = value;
        } else {
            *why = "unknown option " + name;
            return false;
        }
    }
    return true;
}

void Say(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Sends the relay's decisions to whichever side holds the peer.
class Sides : public Outbox {
public:
    UdpSide* udp = nullptr;
    WsSide* ws = nullptr;

    void Send(PeerId peer, const uint8_t* bytes, size_t size, bool reliable) override {
        if (!udp->Send(peer, bytes, size, reliable)) ws->Send(peer, bytes, size, reliable);
    }
    void Drop(PeerId peer) override {
        if (!udp->Drop(peer)) ws->Drop(peer);
    }
    size_t Queued(PeerId peer) const override {
        size_t bytes = 0;
        if (!udp->Queued(peer, &bytes)) ws->Queued(peer, &bytes);
        return bytes;
    }
    void Log(const std::string& line) override { Say(line); }
};

// What the relay sends outside the UDP side's batches (watchers' frames,
// refusals) is flushed by the UDP side itself.
void Tick(boost::asio::steady_timer& timer, Relay& relay, Status& status, uint64_t* lastSample) {
    timer.expires_after(TickEvery);
    timer.async_wait([&timer, &relay, &status, lastSample](const boost::system::error_code& e) {
        if (e) return;
        const uint64_t now = NowMs();
        relay.Tick(now);
        if (now - *lastSample >= 1000) {
            status.Sample(relay.Counts(), now);
            *lastSample = now;
        }
        Tick(timer, relay, status, lastSample);
    });
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    Options options;
    std::string why;
    if (!ReadOptions(argc, argv, &options, &why)) {
        std::fprintf(stderr, "volleen-relay: %s\n%s", why.c_str(), Usage);
        return 2;
    }
    Limits limits;
    if (!options.config.empty() && !ReadLimits(options.config, &limits, &why)) {
        std::fprintf(stderr, "volleen-relay: %s\n", why.c_str());
        return 2;
    }

    boost::asio::io_context io(1);
    Sides sides;
    Relay relay(limits, sides, std::random_device{}(), options.letters);
    const uint64_t start = NowMs();
    Status status(start);
    UdpSide udp(io, relay);
    WsSide ws(io, relay, [&] { return status.Json(relay.Counts(), NowMs()); });
    sides.udp = &udp;
    sides.ws = &ws;
    if (!udp.Open(options.bind, options.port, &why) || !ws.Open(options.bind, options.port, &why)) {
        std::fprintf(stderr, "volleen-relay: %s\n", why.c_str());
        return 1;
    }

    boost::asio::steady_timer ticker(io);
    uint64_t lastSample = start;
    Tick(ticker, relay, status, &lastSample);

    boost::asio::signal_set signals(io, SIGINT, SIGTERM);
    boost::asio::steady_timer goodbye(io);
    signals.async_wait([&](const boost::system::error_code& error, int) {
        if (error) return;
        ws.Close();
        relay.CloseAll();
        udp.Flush();
        goodbye.expires_after(GoodbyeTime);
        goodbye.async_wait([&](const boost::system::error_code&) { io.stop(); });
    });

    Say("volleen-relay: listening on " + options.bind + " port " + std::to_string(options.port));
    io.run();
    udp.Close();
    return 0;
}
