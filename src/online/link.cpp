#include "online/link.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "common/printable.h"

uint32_t LinkRoundTrip = 0;
uint32_t LinkRoundTripSpread = 0;
uint32_t LinkSilence = 0;
uint32_t LinkRefused = 0;

namespace {

// Time not spent on the link (a pause at the end of a match, a fade) is not
// silence: a gap longer than this between two looks counts as this much.
constexpr uint32_t LongestLook = 100;
constexpr int32_t MostSkippedALook = 256;

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

}  // namespace

void LinkReset() {
    LinkRoundTrip = LinkRoundTripSpread = LinkSilence = LinkRefused = 0;
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
    const std::vector<uint8_t> bytes = EncodeOnlineMessage(stamped);
    platform::NetSend(peer, bytes.data(), bytes.size(), reliable);
}

bool LinkNext(LinkEvent* event) {
    const uint32_t now = Now();
    if (Looked) LinkSilence += std::min(now - LastLook, LongestLook);
    LastLook = now;
    Looked = true;
    platform::NetEvent got{};
    // A flood of garbage is taken a bounded number at a time too.
    for (int32_t skipped = 0; skipped < MostSkippedALook && platform::NetPoll(&got); ++skipped) {
        event->kind = got.kind;
        event->peer = got.peer;
        event->arrived = now - got.waitedMs;
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

void LinkHeard(const LinkEvent& event) {
    const OnlineMessage& message = event.message;
    LinkSilence = 0;
    if (message.stamp != 0) {
        OtherStamp = message.stamp;
        OtherStampAt = event.arrived;
    }
    if (message.echo == 0) return;
    const uint32_t sample =
        static_cast<uint16_t>(Stamp(event.arrived) - message.echo) - message.held;
    if (sample > 10000) return;  // a stamp from before a wrap
    // The round trip is the least of the recent ones, and the spread how far
    // the middle one strays above it: a few late samples move neither.
    Samples[NextSample++ % SampleCount] = sample;
    const uint32_t kept = std::min<uint32_t>(NextSample, SampleCount);
    uint32_t sorted[SampleCount] = {};
    std::copy(Samples, Samples + kept, sorted);
    std::sort(sorted, sorted + kept);
    LinkRoundTrip = std::max<uint32_t>(sorted[0], 1);
    LinkRoundTripSpread = sorted[kept / 2] - sorted[0];
}
