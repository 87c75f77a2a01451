// The network link in the browser: one WebSocket to a relay. The browser has
// no UDP and cannot listen, so a page meets other players only through a
// relay, which passes the same messages on as it does for the native games.
// One message is one binary frame. The socket's callbacks run while the game
// waits (its waits hand control to the browser), so messages are taken as
// they arrive and stamped then, as the native link does.
#include <emscripten.h>
#include <emscripten/websocket.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/common/net_limits.h"
#include "platform/platform.h"

// 0: a ws:// or wss:// URL the page may open; 1: not such a URL; 2: a ws://
// URL from a page served over https, which the browser forbids.
// (EM_JS bodies go through the preprocessor, which splits "!==": hence
// indexOf.)
EM_JS(int, volleen_check_socket_url, (const char* text), {
    try {
        var url = new URL(UTF8ToString(text));
        if ([ 'ws:', 'wss:' ].indexOf(url.protocol) < 0 || url.hash) return 1;
        return location.protocol + url.protocol == 'https:ws:' ? 2 : 0;
    } catch (e) {
        return 1;
    }
});

namespace platform {

namespace {

using net_limits::LargestMessage;
using net_limits::MostQueued;

struct Taken {
    NetEventKind kind;
    uint32_t peer;
    double arrived;  // emscripten_get_now
    std::vector<uint8_t> bytes;
    double due = 0;  // not given before this (emscripten_get_now)
};

// A refused connection fails at once here, where ENet keeps knocking for
// seconds: its end is told no sooner than this after the start, so that a
// caller who tries again knocks at a sane pace.
constexpr double ShortestFailedConnectMs = 1000;

EMSCRIPTEN_WEBSOCKET_T Socket = 0;  // 0: none
uint32_t PeerId = 0;                // the socket's connection, new for each
uint32_t NextPeerId = 1;
bool Open = false;    // the socket may be sent on
bool Opened = false;  // it was open once
double ConnectStart = 0;
std::deque<Taken> Queue;
std::vector<uint8_t> Received;  // the bytes of the last message NetPoll gave
uint64_t Sent = 0;
uint64_t Got = 0;
uint32_t Dropped = 0;  // frames not taken: text, too large, or the queue full

// What a frame costs on the wire besides its payload: the header, and the
// mask the browser puts on what it sends.
uint64_t FrameBytes(size_t payload, bool masked) {
    const uint64_t header = payload < 126 ? 2 : payload < 65536 ? 4 : 10;
    return header + (masked ? 4 : 0) + payload;
}

bool Ours(void* userData) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(userData)) == PeerId && Socket != 0;
}

void Push(NetEventKind kind, std::vector<uint8_t> bytes) {
    Queue.push_back({kind, PeerId, emscripten_get_now(), std::move(bytes)});
}

void Drop(const char* what) {
    if (Dropped++ == 0) std::fprintf(stderr, "volleen: the link dropped %s\n", what);
}

EM_BOOL OnOpen(int, const EmscriptenWebSocketOpenEvent*, void* userData) {
    if (!Ours(userData)) return EM_TRUE;
    Open = Opened = true;
    Push(NetEventKind::Connected, {});
    return EM_TRUE;
}

EM_BOOL OnMessage(int, const EmscriptenWebSocketMessageEvent* event, void* userData) {
    if (!Ours(userData)) return EM_TRUE;
    Got += FrameBytes(event->numBytes, false);
    if (event->isText) {
        Drop("a text frame");
    } else if (event->numBytes > LargestMessage) {
        Drop("a frame too large to be a message");
    } else if (Queue.size() >= MostQueued) {
        Drop("messages beyond what it keeps waiting");
    } else {
        Push(NetEventKind::Message,
             std::vector<uint8_t>(event->data, event->data + event->numBytes));
    }
    return EM_TRUE;
}

EM_BOOL OnError(int, const EmscriptenWebSocketErrorEvent*, void*) {
    return EM_TRUE;  // the close that follows says it
}

EM_BOOL OnClose(int, const EmscriptenWebSocketCloseEvent*, void* userData) {
    if (!Ours(userData)) return EM_TRUE;
    Open = false;
    Push(NetEventKind::Disconnected, {});
    if (!Opened) Queue.back().due = ConnectStart + ShortestFailedConnectMs;
    return EM_TRUE;
}

void Forget() {
    if (Socket == 0) return;
    emscripten_websocket_close(Socket, 1000, nullptr);
    emscripten_websocket_delete(Socket);
    Socket = 0;
    Open = false;
}

}  // namespace

bool NetListen(uint16_t, int32_t, std::string* why) {
    *why = "a browser cannot host by itself: create a room on a relay instead";
    return false;
}

bool NetConnect(const char* host, uint16_t port, std::string* why) {
    NetClose();
    if (!emscripten_websocket_is_supported()) {
        *why = "this browser has no WebSocket";
        return false;
    }
    std::string url = host;
    if (url.rfind("ws://", 0) != 0 && url.rfind("wss://", 0) != 0) {
        // A bare IPv6 address goes in brackets.
        const bool ipv6 = url.find(':') != std::string::npos && url.front() != '[';
        url = "ws://" + (ipv6 ? "[" + url + "]" : url) + ":" + std::to_string(port) + "/";
    }
    switch (volleen_check_socket_url(url.c_str())) {
        case 0:
            break;
        case 2:
            *why = "a page served over https must reach the relay by wss://, not " + url;
            return false;
        default:
            *why = "the relay's address " + url + " is no WebSocket URL";
            return false;
    }
    EmscriptenWebSocketCreateAttributes attributes;
    emscripten_websocket_init_create_attributes(&attributes);
    attributes.url = url.c_str();
    const EMSCRIPTEN_WEBSOCKET_T socket = emscripten_websocket_new(&attributes);
    if (socket <= 0) {
        *why = "no WebSocket to " + url + " can be made";
        return false;
    }
    Socket = socket;
    Opened = false;
    ConnectStart = emscripten_get_now();
    PeerId = NextPeerId++;
    Sent = Got = 0;
    void* id = reinterpret_cast<void*>(uintptr_t{PeerId});
    emscripten_websocket_set_onopen_callback(socket, id, OnOpen);
    emscripten_websocket_set_onmessage_callback(socket, id, OnMessage);
    emscripten_websocket_set_onerror_callback(socket, id, OnError);
    emscripten_websocket_set_onclose_callback(socket, id, OnClose);
    return true;
}

bool NetPoll(NetEvent* event) {
    if (Queue.empty() || Queue.front().due > emscripten_get_now()) return false;
    Taken& next = Queue.front();
    Received = std::move(next.bytes);
    const double waited = std::max(0.0, emscripten_get_now() - next.arrived);
    *event = {next.kind, next.peer, Received.data(), Received.size(),
              static_cast<uint32_t>(std::min(waited, 4.0e9))};
    Queue.pop_front();
    return true;
}

// TCP delivers everything in order: the reliable flag has nothing to choose.
void NetSend(uint32_t peer, const uint8_t* bytes, size_t size, bool) {
    if (peer != PeerId || !Open || size == 0 || size > LargestMessage) return;
    // The library sends from the game's memory as it is; it does not change it.
    if (emscripten_websocket_send_binary(Socket, const_cast<uint8_t*>(bytes), size) ==
        EMSCRIPTEN_RESULT_SUCCESS) {
        Sent += FrameBytes(size, true);
    }
}

// The browser sends what was queued before the closing frame.
void NetDisconnect(uint32_t peer) {
    if (peer == PeerId && Socket != 0) {
        Open = false;
        emscripten_websocket_close(Socket, 1000, nullptr);
    }
}

void NetClose() {
    Forget();
    Queue.clear();
    if (Dropped > 1) std::fprintf(stderr, "volleen: the link dropped %u frames\n", Dropped);
    Dropped = 0;
}

void NetImpair(uint32_t, uint32_t, uint32_t, uint32_t) {}

void NetTraffic(uint64_t* sent, uint64_t* received) {
    *sent = Sent;
    *received = Got;
}

// A page has no address another machine could reach.
std::vector<std::string> NetLocalAddresses() { return {}; }

}  // namespace platform
