#include "online/link.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <set>

#include "common/printable.h"

NetImpairment OnlineImpairment;
uint32_t LinkRoundTrip = 0;
uint32_t LinkRoundTripSpread = 0;
uint32_t LinkSilence = 0;
uint32_t LinkRefused = 0;

namespace {

// Time not spent on the link (a pause at the end of a match, a fade) is not
// silence: a gap longer than this between two looks counts as this much.
constexpr uint32_t LongestLook = 100;

struct Held {
    uint64_t due;  // PreciseTime
    uint32_t peer;
    bool reliable;
    std::vector<uint8_t> bytes;
};
std::deque<Held> Late;  // impaired messages, in the order they are due
uint32_t LossState = 1;
uint32_t LastLook = 0;
bool Looked = false;
uint16_t OtherStamp = 0;  // the newest stamp from the other side, 0: none yet
uint32_t OtherStampAt = 0;
std::set<std::string> Said;
constexpr uint32_t SampleCount = 32;  // about a second of messages
uint32_t Samples[SampleCount] = {};
uint32_t NextSample = 0;

uint32_t Now() { return platform::TickCount(); }
// Never 0, which means "no stamp".
uint16_t Stamp(uint32_t ms) { return static_cast<uint16_t>(ms % 65535 + 1); }

// xorshift32: the impairment's own numbers, never the game's.
uint32_t NextLoss() {
    LossState ^= LossState << 13;
    LossState ^= LossState >> 17;
    LossState ^= LossState << 5;
    return LossState;
}

void SendLate() {
    const uint64_t now = platform::PreciseTime();
    while (!Late.empty() && Late.front().due <= now) {
        const Held& next = Late.front();
        platform::NetSend(next.peer, next.bytes.data(), next.bytes.size(), next.reliable);
        Late.pop_front();
    }
}

}  // namespace

void LinkFlush() {
    for (const Held& next : Late) {
        platform::NetSend(next.peer, next.bytes.data(), next.bytes.size(), next.reliable);
    }
    Late.clear();
}

void LinkReset() {
    LinkRoundTrip = LinkRoundTripSpread = LinkSilence = LinkRefused = 0;
    Late.clear();
    LossState = OnlineImpairment.seed != 0 ? OnlineImpairment.seed : 1;
    Looked = false;
    OtherStamp = 0;
    Said.clear();
    NextSample = 0;
}

void LinkSend(uint32_t peer, const OnlineMessage& message, bool reliable) {
    OnlineMessage stamped = message;
    const uint32_t now = Now();
    if (message.kind == OnlineKind::Inputs || message.kind == OnlineKind::Hello ||
        message.kind == OnlineKind::Welcome) {
        stamped.stamp = Stamp(now);
        stamped.echo = OtherStamp;
        stamped.held = static_cast<uint16_t>(
            OtherStamp != 0 ? std::min<uint32_t>(now - OtherStampAt, 65535) : 0);
    }
    std::vector<uint8_t> bytes = EncodeOnlineMessage(stamped);
    const NetImpairment& impair = OnlineImpairment;
    if (impair.delayMs == 0 && impair.jitterMs == 0 && impair.lossPercent == 0) {
        platform::NetSend(peer, bytes.data(), bytes.size(), reliable);
        return;
    }
    if (!reliable && NextLoss() % 100 < impair.lossPercent) return;
    int64_t late = impair.delayMs;
    if (impair.jitterMs > 0) {
        late += static_cast<int64_t>(NextLoss() % (2 * impair.jitterMs + 1)) - impair.jitterMs;
    }
    const uint64_t due =
        platform::PreciseTime() + static_cast<uint64_t>(std::max<int64_t>(late, 0)) * 1000;
    // In due order; a jittered message may pass an earlier one, as on a real
    // network, but the reliable ones keep their order.
    auto at = Late.end();
    while (at != Late.begin() && std::prev(at)->due > due && !(reliable && std::prev(at)->reliable))
        --at;
    Late.insert(at, Held{due, peer, reliable, std::move(bytes)});
    SendLate();
}

bool LinkNext(LinkEvent* event) {
    SendLate();
    const uint32_t now = Now();
    if (Looked) LinkSilence += std::min(now - LastLook, LongestLook);
    LastLook = now;
    Looked = true;
    platform::NetEvent got{};
    while (platform::NetPoll(&got)) {
        event->kind = got.kind;
        event->peer = got.peer;
        if (got.kind != platform::NetEventKind::Message) return true;
        std::string why;
        if (!DecodeOnlineMessage(got.bytes, got.size, &event->message, &why)) {
            LinkRefuse("a message that is not ours", why);
            continue;
        }
        return true;
    }
    return false;
}

void LinkRefuse(const std::string& kind, const std::string& detail) {
    ++LinkRefused;
    if (!Said.insert(kind).second) return;
    const std::string line = detail.empty() ? kind : kind + " (" + detail + ")";
    std::fprintf(stderr, "volleen: online: ignored %s; more are counted, not said\n",
                 Printable(line).c_str());
}

void LinkHeard(const OnlineMessage& message) {
    const uint32_t now = Now();
    LinkSilence = 0;
    if (message.stamp != 0) {
        OtherStamp = message.stamp;
        OtherStampAt = now;
    }
    if (message.echo == 0) return;
    const uint32_t sample = static_cast<uint16_t>(Stamp(now) - message.echo) - message.held;
    if (sample > 10000) return;  // a stamp from before a wrap
    // A sample is late by however long the stamps waited to be looked at
    // (a frame, or a whole fade), never early: the round trip is the least
    // of the recent ones, and the spread how far they stray above it.
    Samples[NextSample++ % SampleCount] = sample;
    const uint32_t kept = std::min<uint32_t>(NextSample, SampleCount);
    uint32_t least = UINT32_MAX;
    uint64_t sum = 0;
    for (uint32_t i = 0; i < kept; ++i) {
        least = std::min(least, Samples[i]);
        sum += Samples[i];
    }
    LinkRoundTrip = std::max<uint32_t>(least, 1);
    LinkRoundTripSpread = std::min<uint32_t>(static_cast<uint32_t>(sum / kept) - least, 1000);
}
