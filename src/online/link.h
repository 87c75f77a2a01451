// The link to the other side of an online match, over the platform's
// network calls: messages read by the one reader, the round trip measured
// from the messages' stamps, the silence counted.
#pragma once

#include <cstdint>
#include <string>

#include "online/protocol.h"
#include "platform/platform.h"

// Something that happened on the link.
struct LinkEvent {
    platform::NetEventKind kind;
    uint32_t peer;
    OnlineMessage message;  // Message: read and whole
    uint32_t arrived;       // the TickCount when it came in
};

// The round trip (the least of the last second's) and how far the samples
// stray above it, in milliseconds; 0 until measured.
extern uint32_t LinkRoundTrip;
extern uint32_t LinkRoundTripSpread;
// Milliseconds of this side's attention (waits on other things not counted)
// since the other side was last heard from.
extern uint32_t LinkSilence;
// Messages refused by the reader, and other refusals, for the session's
// summary; the first of each is said on stderr when it happens.
extern uint32_t LinkRefused;

// A new link: nothing measured, nothing queued.
void LinkReset();
void LinkSend(uint32_t peer, const OnlineMessage& message, bool reliable);
// The next event, without waiting; false when there is none. Bytes that are
// not a message of ours are counted and skipped here.
bool LinkNext(LinkEvent* event);
// A refusal to count; the first of each kind is said, with its detail.
void LinkRefuse(const std::string& kind, const std::string& detail = "");
// The other side was heard: its stamps, for the round trip.
void LinkHeard(const LinkEvent& event);
